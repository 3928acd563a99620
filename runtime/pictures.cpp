#include "pictures.h"

#include <QResource>

#include <cstdint>
#include <cstring>

namespace vb {

namespace {

struct Header {
    char magic[4];
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t format;
};
static_assert(sizeof(Header) == 16);

constexpr char Magic[4] = {'V', 'B', 'P', 'X'};
constexpr std::uint32_t MaxSide = 4096;

} // namespace

QByteArray BakePictures(const QList<QImage> &images) {
    QByteArray baked;
    for (const QImage &image : images) {
        const QImage pixels = image.convertToFormat(
            image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        Header header{};
        std::memcpy(header.magic, Magic, sizeof Magic);
        header.width = std::uint32_t(pixels.width());
        header.height = std::uint32_t(pixels.height());
        header.format = std::uint32_t(pixels.format());
        baked.append(reinterpret_cast<const char *>(&header), sizeof header);
        for (int y = 0; y < pixels.height(); ++y)
            baked.append(reinterpret_cast<const char *>(pixels.constScanLine(y)),
                         qsizetype(pixels.width()) * 4);
    }
    return baked;
}

QList<QImage> ReadPictures(const uchar *data, qsizetype size) {
    QList<QImage> images;
    qsizetype at = 0;
    while (at < size) {
        Header header;
        if (size - at < qsizetype(sizeof header))
            return {};
        std::memcpy(&header, data + at, sizeof header);
        at += qsizetype(sizeof header);
        if (std::memcmp(header.magic, Magic, sizeof Magic) != 0 ||
            (header.format != std::uint32_t(QImage::Format_RGB32) &&
             header.format != std::uint32_t(QImage::Format_ARGB32_Premultiplied)) ||
            header.width == 0 || header.height == 0 || header.width > MaxSide ||
            header.height > MaxSide)
            return {};
        const qsizetype bytes = qsizetype(header.width) * header.height * 4;
        if (size - at < bytes)
            return {};
        const uchar *pixels = data + at;
        QImage image(pixels, int(header.width), int(header.height), qsizetype(header.width) * 4,
                     QImage::Format(header.format));
        // Resource data is 4-byte aligned where the compiler aligns large
        // arrays; elsewhere the pixels are copied into place.
        if (reinterpret_cast<std::uintptr_t>(pixels) % alignof(std::uint32_t) != 0)
            image = image.copy();
        images.append(image);
        at += bytes;
    }
    return images;
}

QList<QImage> LoadPictures(const QString &resource) {
    const QResource file(resource);
    if (!file.isValid() || file.compressionAlgorithm() != QResource::NoCompression)
        return {};
    return ReadPictures(file.data(), file.size());
}

QImage LoadPicture(const QString &resource) {
    const QList<QImage> images = LoadPictures(resource);
    return images.isEmpty() ? QImage() : images.first();
}

} // namespace vb
