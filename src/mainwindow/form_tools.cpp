// The developer's phase-picture tools behind the three hidden buttons.
#include "mainwindow/form_main.h"
#include "pictures/phase_tools.h"

namespace vk {
namespace {

void RunTool(TForm_Main& form, PhaseBody body) {
  PhaseToolPictures work;
  PhaseToolHooks hooks;
  hooks.progress = [&form](std::string_view text, StatusColour colour) {
    form.Show_Status(QString::fromUtf8(text.data(), static_cast<int>(text.size())), colour);
  };
  // Sources and pictures in the current folder, as the developer keeps them.
  RunPhasePictureTool(body, ".", ".", work, hooks);
}

}  // namespace

void TForm_Main::Button_Monde_anpassenClick() { RunTool(*this, PhaseBody::Moon); }
void TForm_Main::Button_Venus_anpassenClick() { RunTool(*this, PhaseBody::Venus); }
void TForm_Main::Button_Merkur_anpassenClick() { RunTool(*this, PhaseBody::Mercury); }

}  // namespace vk
