// The three phase-picture tools: each turns 36 large JPEG pictures of the
// Moon, of Venus or of Mercury into the small BMP pictures of a phase set.
// For every picture i = 0 .. 35: load the source, copy its square
// (60, 60)-(4036, 4036) halftone-scaled into a 4000 x 4000 working picture,
// blacken everything outside the centred disc of radius 2000 and brighten the
// disc by 20, reduce the result colour-on-colour to N x N and save it as a
// 24-bit BMP file. The window's three hidden buttons and the maintenance
// tool's "phase-pictures" command both run this code.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "base/progress.h"
#include "pictures/bitmap24.h"

namespace vk {

enum class PhaseBody { Moon, Venus, Mercury };

inline constexpr int kPhasePictureCount = 36;
inline constexpr PixelRect kPhaseSourceRect{60, 60, 4036, 4036};
inline constexpr int kPhaseWorkSize = 4000;
inline constexpr int kPhaseDiscCentre = 2000;
inline constexpr long long kPhaseDiscRadiusSquared = 4000000;
inline constexpr int kPhaseBrightening = 20;


// Side length in pixels of the body's finished pictures: 96, 48 or 40.
int PhasePictureSize(PhaseBody body);

// Source file name of picture i (0 .. 35): "moon_" + 10i as three digits +
// ".jpg", "Venus_01" + i as two digits + ".jpg", "Merkur_01" + i as two
// digits + ".jpg". Never throws.
std::string PhaseSourceName(PhaseBody body, int i);

// Output file name of picture i: "Mond_", "Venus_" or "Merkur_" + i as two
// digits + ".bmp". Never throws.
std::string PhaseOutputName(PhaseBody body, int i);

// The lower-case name the maintenance tool uses: "moon", "venus", "mercury";
// and back (returns false for any other text).
const char* PhaseBodyName(PhaseBody body);
bool ParsePhaseBody(const std::string& name, PhaseBody& body);

// The disc mask and brightening on a working picture of any size: every pixel (x, y) with
// (x - 2000)^2 + (y - 2000)^2 >= 4000000 becomes black, every other has each of
// its three bytes raised by 20, at most 255. Never throws.
void MaskAndBrighten(Bitmap24& work);

// The tools' three working pictures: `img` receives the decoded source, `image2`
// the 4000 x 4000 working copy, `image3` the finished picture. The window shows
// them; the maintenance tool just keeps them.
struct PhaseToolPictures {
  Bitmap24 img;
  Bitmap24 image2;
  Bitmap24 image3;
};

struct PhaseToolHooks {
  // Receives the output file name after each save (StatusColour::ButtonFace),
  // and a note for every source that held no valid picture. May be empty.
  ProgressFn progress;
  // Called where the window lets the toolkit process pending messages. May be empty.
  std::function<void()> process_messages;
};

// Makes picture i of `body`: reads from_dir / PhaseSourceName(body, i), writes
// to_dir / PhaseOutputName(body, i), replacing any file of that name (through a
// temporary file renamed when complete).
// Returns true when the picture was saved; false when the source file holds no
//   valid JPEG picture: `work.img` is then cleared and nothing is written.
// Throws: Error(kFileNotFound, source path) when the source is missing;
//   Error(<system text>, path) when the source cannot be read or the output
//   cannot be written. Nothing is written then.
bool MakePhasePicture(PhaseBody body, int i, const std::filesystem::path& from_dir,
                      const std::filesystem::path& to_dir, PhaseToolPictures& work, const PhaseToolHooks& hooks = {});

struct PhaseToolResult {
  int saved = 0;                        // pictures written
  std::vector<std::string> invalid;     // source names that held no valid picture
};

// Runs the tool for pictures 0 to 35 in this order (MakePhasePicture for each).
// A source without a valid picture is reported through hooks.progress and
// listed in the result; the run goes on with the next picture.
// Returns: the count of saved pictures and the invalid sources.
// Throws: the first Error of MakePhasePicture (a missing source, a file that
//   cannot be read or written); it ends the run, and the pictures already
//   saved stay.
PhaseToolResult RunPhasePictureTool(PhaseBody body, const std::filesystem::path& from_dir,
                                    const std::filesystem::path& to_dir, PhaseToolPictures& work,
                                    const PhaseToolHooks& hooks = {});

}  // namespace vk
