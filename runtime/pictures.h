// Pictures as the program carries them: decoded once, when the program is
// built, into the pixel layout the window paints from, so that start-up
// runs no image decoder and loads no image plugin.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace vb {

// One or more images one after the other, each a 16-byte header (the
// magic "VBPX", then width, height and QImage format as native 32-bit
// numbers) and its rows of 32-bit pixels with no padding. Images with an
// alpha channel are stored premultiplied, the others as RGB32.
QByteArray BakePictures(const QList<QImage> &images);

// The images of baked pictures in memory, sharing it: the memory must
// outlive them. Empty if the bytes are not baked pictures.
QList<QImage> ReadPictures(const uchar *data, qsizetype size);

// The images of a baked picture in the program's resources. They share the
// resource's memory; nothing is copied or decoded. Empty if the resource is
// missing, compressed or not a baked picture.
QList<QImage> LoadPictures(const QString &resource);

// The first image of a baked picture, or a null image.
QImage LoadPicture(const QString &resource);

} // namespace vb
