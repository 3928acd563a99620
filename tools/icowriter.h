#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>
#include <QString>

#include <array>

// Windows icon files of 16-colour images. Qt reads such icons but cannot write them.
namespace icowriter {

// The fixed 16-colour palette of Windows, in index order.
const std::array<QRgb, 16> &standardPalette();

// Encodes the images, in order, as one icon file: 4 bits per pixel with the standard palette
// and an AND mask that leaves every pixel opaque. Every pixel must be a palette colour (alpha
// is ignored) and each side must lie between 1 and 256. Returns an empty array and sets
// *error otherwise.
QByteArray encode(const QList<QImage> &images, QString *error = nullptr);

} // namespace icowriter
