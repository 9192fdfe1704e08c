// What the right-hand panels share: fonts, glyph buttons, labels, and the
// fitting of a panel around its controls.
#pragma once
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace vk {

QFont Panel_Font(const char* family, int pixels, bool bold = false);

// A black triangle on a transparent square, pointing 'u'p, 'd'own, 'l'eft or 'r'ight.
QIcon Triangle(int w, int h, char direction);

QPushButton* GlyphButton(QWidget* parent, QRect geometry, const QIcon& icon, QSize icon_size, const QString& tip);
QLabel* Label(QWidget* parent, QRect geometry, const QString& text, const QFont& font);

// Controls are placed in the coordinates of the right-hand panel; this moves
// `panel` onto the rectangle they cover (from the panel's top at the most)
// and the controls with it, so that every control stays where it was.
void Fit_Around_Controls(QWidget* panel);

}  // namespace vk
