// Colour texts of template properties ("0x336699") to colours and back, and
// the "#336699" that the editor shows for them.
// The name is historical: colour text conversion (docs/NAMES.md).
#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace MyColorOper {

// Leading blanks are skipped, an optional "0x"/"0X" (or "#") accepted, and hex digits
// read up to the first other character; no digits give black. Bits 16-23 are
// red, 8-15 green, 0-7 blue; alpha is 1. Absent text is black.
QColor colorFromHexRGB(const std::optional<QString>& text);

// "0x" and two lower-case hex digits for each of red, green and blue; each
// component is scaled by just under 256 and truncated, so 0.5 gives 7f.
// None for an invalid colour.
std::optional<QString> colorToHexRGB(const QColor& color);

// "#rrggbb" for a stored "0xrrggbb", as people write colours; any other text
// unchanged. (The editor takes both forms and stores the "0x" one.)
QString displayText(const QString& stored);

}  // namespace MyColorOper
