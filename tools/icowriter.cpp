#include "icowriter.h"

#include <QtEndian>

namespace icowriter {

namespace {

constexpr int kHeaderBytes = 6;
constexpr int kEntryBytes = 16;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPaletteBytes = 16 * 4;

// Bitmap rows are padded to whole 32-bit words.
int rowBytes(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

int imageBytes(const QImage &image) {
    const int h = image.height();
    return kInfoHeaderBytes + kPaletteBytes + rowBytes(image.width(), 4) * h +
           rowBytes(image.width(), 1) * h;
}

void put16(QByteArray &out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

int paletteIndex(QRgb colour) {
    const auto &palette = standardPalette();
    for (int i = 0; i < 16; ++i) {
        if (qRgb(qRed(colour), qGreen(colour), qBlue(colour)) == palette[i])
            return i;
    }
    return -1;
}

bool fail(QString *error, const QString &message) {
    if (error)
        *error = message;
    return false;
}

bool appendImage(QByteArray &out, const QImage &source, int number, QString *error) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int xorRow = rowBytes(w, 4);
    const int andRow = rowBytes(w, 1);

    put32(out, kInfoHeaderBytes);
    put32(out, quint32(w));
    put32(out, quint32(2 * h)); // the colour bits and the mask, stacked
    put16(out, 1);
    put16(out, 4);
    put32(out, 0); // BI_RGB
    put32(out, quint32((xorRow + andRow) * h));
    put32(out, 0);
    put32(out, 0);
    put32(out, 16);
    put32(out, 0);
    for (QRgb c : standardPalette()) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append('\0');
    }

    // Rows go bottom-up; the left pixel of each pair sits in the high nibble.
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(xorRow, '\0');
        for (int x = 0; x < w; ++x) {
            const int index = paletteIndex(image.pixel(x, y));
            if (index < 0) {
                return fail(error, QStringLiteral("image %1: pixel %2,%3 is not a palette colour")
                                       .arg(number)
                                       .arg(x)
                                       .arg(y));
            }
            row[x / 2] = char(row[x / 2] | (x % 2 ? index : index << 4));
        }
        out.append(row);
    }
    out.append(QByteArray(andRow * h, '\0'));
    return true;
}

} // namespace

const std::array<QRgb, 16> &standardPalette() {
    static const std::array<QRgb, 16> palette = {
        qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00),
        qRgb(0x80, 0x80, 0x00), qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80),
        qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0), qRgb(0x80, 0x80, 0x80),
        qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
        qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF),
        qRgb(0xFF, 0xFF, 0xFF)};
    return palette;
}

QByteArray encode(const QList<QImage> &images, QString *error) {
    if (images.isEmpty() || images.size() > 0xFFFF) {
        fail(error, QStringLiteral("an icon needs between 1 and 65535 images"));
        return {};
    }
    for (int i = 0; i < images.size(); ++i) {
        const QSize s = images[i].size();
        if (s.width() < 1 || s.height() < 1 || s.width() > 256 || s.height() > 256) {
            fail(error, QStringLiteral("image %1: sides must lie between 1 and 256").arg(i));
            return {};
        }
    }

    QByteArray out;
    put16(out, 0);
    put16(out, 1); // icon, not cursor
    put16(out, quint16(images.size()));
    quint32 offset = kHeaderBytes + kEntryBytes * quint32(images.size());
    for (const QImage &image : images) {
        const quint32 bytes = quint32(imageBytes(image));
        out.append(char(image.width() & 0xFF)); // 256 is stored as 0
        out.append(char(image.height() & 0xFF));
        out.append(char(16));
        out.append('\0');
        put16(out, 1);
        put16(out, 4);
        put32(out, bytes);
        put32(out, offset);
        offset += bytes;
    }
    for (int i = 0; i < images.size(); ++i) {
        if (!appendImage(out, images[i], i, error))
            return {};
    }
    return out;
}

} // namespace icowriter
