// Reads the committed pictures back and checks their formats, colours and layout.

#include "../tools/icowriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace {

QString assetPath(const QString &name) {
    return QDir(QStringLiteral(ZENDARIC_ASSETS_DIR)).filePath(name);
}

QByteArray readAsset(const QString &name) {
    QFile f(assetPath(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QImage loadAsset(const QString &name) {
    QImageReader reader(assetPath(name));
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

quint16 u16(const QByteArray &b, int at) {
    return qFromLittleEndian<quint16>(reinterpret_cast<const uchar *>(b.constData()) + at);
}

quint32 u32(const QByteArray &b, int at) {
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(b.constData()) + at);
}

int luma(QRgb c) { return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000; }

int distance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

QString rgbText(QRgb c) { return QColor(c).name(); }

// ---------------------------------------------------------------------------------------------
// The key faces, as the window shows them

constexpr int kFaceW = 46;
constexpr int kFaceH = 26;
// Every sign stays inside this area, so centring the picture on its smaller button keeps it whole.
const QRect kSignArea(QPoint(6, 6), QPoint(39, 20));

struct FaceSign {
    const char *file;
    const char *shows;
    QRect box; // where the sign's light strokes lie
};

const FaceSign kFaces[] = {
    {"key-0.jpg", "digit 0", QRect(QPoint(18, 7), QPoint(25, 17))},
    {"key-1.jpg", "digit 1", QRect(QPoint(19, 7), QPoint(23, 17))},
    {"key-2.jpg", "digit 2", QRect(QPoint(18, 7), QPoint(25, 17))},
    {"key-3.jpg", "digit 3", QRect(QPoint(19, 7), QPoint(25, 17))},
    {"key-4.jpg", "digit 4", QRect(QPoint(18, 7), QPoint(26, 17))},
    {"key-5.jpg", "digit 5", QRect(QPoint(19, 7), QPoint(25, 17))},
    {"key-6.jpg", "digit 6", QRect(QPoint(18, 7), QPoint(25, 17))},
    {"key-7.jpg", "digit 7", QRect(QPoint(19, 7), QPoint(25, 17))},
    {"key-8.jpg", "digit 8", QRect(QPoint(18, 7), QPoint(25, 17))},
    {"key-9.jpg", "digit 9", QRect(QPoint(18, 7), QPoint(25, 17))},
    {"key-equals.jpg", "equals sign", QRect(QPoint(18, 10), QPoint(26, 14))},
    {"key-plus.jpg", "plus sign", QRect(QPoint(18, 8), QPoint(26, 16))},
    {"key-minus.jpg", "minus sign", QRect(QPoint(20, 13), QPoint(24, 14))},
    {"key-times.jpg", "multiplication sign", QRect(QPoint(19, 9), QPoint(25, 15))},
    {"key-divide.jpg", "division sign", QRect(QPoint(18, 8), QPoint(26, 16))},
    {"key-point.jpg", "comma-shaped point", QRect(QPoint(21, 15), QPoint(23, 20))},
    {"key-root.jpg", "the word root", QRect(QPoint(10, 6), QPoint(35, 18))},
    {"key-root2.jpg", "root with Arabic-Indic two", QRect(QPoint(8, 6), QPoint(38, 18))},
    {"key-root3.jpg", "root with Arabic-Indic three", QRect(QPoint(6, 6), QPoint(38, 18))},
    {"key-reset.jpg", "the word again", QRect(QPoint(10, 7), QPoint(34, 15))},
    {"key-power.jpg", "the word the exponent", QRect(QPoint(11, 6), QPoint(33, 18))},
    {"key-cube.jpg", "the word cubing", QRect(QPoint(6, 7), QPoint(39, 18))},
    {"key-square.jpg", "the word squaring", QRect(QPoint(7, 7), QPoint(38, 20))},
    {"key-pi.jpg", "the word the pi", QRect(QPoint(11, 7), QPoint(33, 20))},
};

// On the square- and cube-root keys the word begins here; the digit stands left of it.
constexpr int kRootWordFrom = 15;

// Near-white sign strokes against the tile. From column and row 6 inwards the tile itself stays
// well below this.
constexpr int kLightLuma = 185;

bool isLight(const QImage &img, int x, int y) { return luma(img.pixel(x, y)) > kLightLuma; }

QRect lightBox(const QImage &img) {
    QRect box;
    for (int y = 6; y < kFaceH; ++y)
        for (int x = 6; x < kFaceW; ++x)
            if (isLight(img, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

void addFaceRows() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QRect>("box");
    for (const FaceSign &f : kFaces)
        QTest::newRow(qPrintable(QStringLiteral("%1 shows the %2").arg(f.file, f.shows)))
            << QString::fromLatin1(f.file) << f.box;
}

struct JpegFrame {
    bool jfif = false;
    bool baseline = false;
    bool otherFrame = false;
    int precision = 0;
    int width = 0;
    int height = 0;
    QList<int> sampling; // per component, 0xHV
    int quantTables = 0;
    bool quantAllOne = true;
    bool complete = false;
};

// Walks the markers up to the first scan.
JpegFrame walkJpeg(const QByteArray &b) {
    JpegFrame f;
    auto byte = [&](int at) { return at < b.size() ? int(uchar(b[at])) : -1; };
    if (byte(0) != 0xFF || byte(1) != 0xD8)
        return f;
    int at = 2;
    while (at + 4 <= b.size()) {
        if (byte(at) != 0xFF)
            return f;
        const int marker = byte(at + 1);
        const int length = byte(at + 2) << 8 | byte(at + 3);
        const int body = at + 4;
        const int end = at + 2 + length;
        if (length < 2 || end > b.size())
            return f;
        if (marker == 0xE0 && b.mid(body, 5) == QByteArray("JFIF\0", 5))
            f.jfif = true;
        if (marker == 0xDB) {
            for (int p = body; p < end;) {
                const bool sixteenBits = byte(p) >> 4;
                const int entries = 64;
                for (int i = 0; i < entries; ++i) {
                    const int v = sixteenBits ? (byte(p + 1 + 2 * i) << 8 | byte(p + 2 + 2 * i))
                                              : byte(p + 1 + i);
                    f.quantAllOne = f.quantAllOne && v == 1;
                }
                p += 1 + entries * (sixteenBits ? 2 : 1);
                ++f.quantTables;
            }
        }
        if (marker == 0xC0) {
            f.baseline = true;
            f.precision = byte(body);
            f.height = byte(body + 1) << 8 | byte(body + 2);
            f.width = byte(body + 3) << 8 | byte(body + 4);
            for (int c = 0; c < byte(body + 5); ++c)
                f.sampling << byte(body + 6 + 3 * c + 1);
        } else if (marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                   marker != 0xCC) {
            f.otherFrame = true;
        }
        if (marker == 0xDA) {
            f.complete = true;
            return f;
        }
        at = end;
    }
    return f;
}

// ---------------------------------------------------------------------------------------------
// The skin

constexpr int kSkinW = 316;
constexpr int kSkinH = 512;
const QRect kTitle(QPoint(63, 42), QPoint(239, 68));

QRect blackBox(const QImage &img, int x0, int x1) {
    QRect box;
    for (int y = 20; y < kSkinH - 21; ++y)
        for (int x = x0; x <= x1; ++x)
            if (img.pixel(x, y) == qRgb(0, 0, 0))
                box |= QRect(x, y, 1, 1);
    return box;
}

bool within(const QRect &got, const QRect &want, int slack) {
    return std::abs(got.left() - want.left()) <= slack &&
           std::abs(got.right() - want.right()) <= slack &&
           std::abs(got.top() - want.top()) <= slack &&
           std::abs(got.bottom() - want.bottom()) <= slack;
}

QString rectText(const QRect &r) {
    return QStringLiteral("columns %1..%2, rows %3..%4")
        .arg(r.left())
        .arg(r.right())
        .arg(r.top())
        .arg(r.bottom());
}

// ---------------------------------------------------------------------------------------------
// The icon

const QRgb kIconColours[] = {qRgb(0, 0, 0), qRgb(0x80, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
                             qRgb(0xFF, 0xFF, 0xFF)};

// The 16-colour palette of Windows, index by index.
const QRgb kWindowsPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                  0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                  0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

QList<QImage> readIcon(const QByteArray &bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QList<QImage> images;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        images << reader.read().convertToFormat(QImage::Format_ARGB32);
    }
    return images;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void skinHeader();
    void skinFrame_data();
    void skinFrame();
    void skinDarkEdges();
    void skinGradient_data();
    void skinGradient();
    void skinHoldsOnlyTheTitle();
    void skinTitle();

    void faceFormat_data();
    void faceFormat();
    void faceTile_data();
    void faceTile();
    void faceSignBox_data();
    void faceSignBox();
    void faceSignStrokes_data();
    void faceSignStrokes();
    void faceFaceColour_data();
    void faceFaceColour();
    void facesAllDiffer();
    void rootWordShared();
    void rootDigitsReadApart();
    void digitOneShape();

    void iconFile();
    void iconImages();
    void iconPngsMatch();
    void iconLarge_data();
    void iconLarge();

    void icoWriterRoundTrip_data();
    void icoWriterRoundTrip();
    void icoWriterRejects_data();
    void icoWriterRejects();
};

void TestPictures::skinHeader() {
    const QByteArray b = readAsset(QStringLiteral("skin.bmp"));
    QCOMPARE(b.size(), 485430);
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(u32(b, 2), 485430u);
    QCOMPARE(u32(b, 10), 54u); // no colour table between headers and pixels
    QCOMPARE(u32(b, 14), 40u);
    QCOMPARE(qint32(u32(b, 18)), kSkinW);
    QCOMPARE(qint32(u32(b, 22)), kSkinH); // positive: rows bottom-up
    QCOMPARE(u16(b, 26), quint16(1));
    QCOMPARE(u16(b, 28), quint16(24));
    QCOMPARE(u32(b, 30), 0u); // BI_RGB
    QCOMPARE(u32(b, 46), 0u); // no palette entries

    // Row 0 of the picture is stored last: its top edge is the nearly black line.
    const int lastRow = 54 + (kSkinH - 1) * kSkinW * 3;
    QCOMPARE(qRgb(uchar(b[lastRow + 3 * 158 + 2]), uchar(b[lastRow + 3 * 158 + 1]),
                  uchar(b[lastRow + 3 * 158])),
             qRgb(0x0F, 0x11, 0x10));

    const QImage img = loadAsset(QStringLiteral("skin.bmp"));
    QCOMPARE(img.size(), QSize(kSkinW, kSkinH));
}

void TestPictures::skinFrame_data() {
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<int>("tolerance");
    const struct {
        const char *name;
        int x, y;
        QRgb colour;
        int tolerance;
    } rows[] = {
        {"top row 0 is nearly black", 158, 0, 0x0F1110, 0},
        {"top row 1 is dark grey", 158, 1, 0x4C504F, 0},
        {"top row 2 is light grey", 158, 2, 0xBFC5C5, 0},
        {"top row 3 is nearly white", 158, 3, 0xF0FAFB, 0},
        {"top fade at row 8", 158, 8, 0x9DCFCE, 2},
        {"top fade at row 12", 158, 12, 0x66B4B6, 2},
        {"top fade at row 16", 158, 16, 0x2E9A9C, 2},
        {"top fade at row 19", 158, 19, 0x0B8181, 2},
        {"top lines run to the left edge's diagonal", 30, 1, 0x4C504F, 0},
        {"left column 0 is dark grey", 0, 256, 0x3A3F43, 0},
        {"left column 1 is nearly white", 1, 256, 0xEBF6FA, 0},
        {"left fade at column 4", 4, 256, 0xA4D3D9, 4},
        {"left fade at column 8", 8, 256, 0x46A6B4, 4},
        {"left fade ends in the body at column 11", 11, 256, 0x2596A6, 2},
        {"right column 315 is black", 315, 256, 0x000000, 2},
        {"bottom row 511 is black", 158, 511, 0x000000, 2},
        {"top-right: the light top meets the dark edge on the diagonal", 312, 3, 0xF0FAFB, 0},
        {"top-right: past the diagonal the dark edge", 315, 3, 0x000000, 2},
        {"bottom-left: the light column 1 meets the dark bottom on the diagonal", 1, 509, 0xEBF6FA,
         0},
        {"bottom-left: past the diagonal the dark bottom", 3, 510, 0x000000, 24},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << QPoint(r.x, r.y) << QRgb(r.colour | 0xFF000000u) << r.tolerance;
}

void TestPictures::skinFrame() {
    QFETCH(QPoint, at);
    QFETCH(QRgb, colour);
    QFETCH(int, tolerance);
    const QImage img = loadAsset(QStringLiteral("skin.bmp"));
    const QRgb got = img.pixel(at);
    QVERIFY2(distance(got, colour) <= tolerance,
             qPrintable(QStringLiteral("%1 is %2").arg(rgbText(colour), rgbText(got))));
}

void TestPictures::skinDarkEdges() {
    // The right and bottom edges darken evenly, every step darker, down to black.
    const QImage img = loadAsset(QStringLiteral("skin.bmp"));
    for (int y : {100, 256, 400}) {
        for (int x = 305; x + 1 < kSkinW; ++x)
            QVERIFY2(luma(img.pixel(x + 1, y)) < luma(img.pixel(x, y)),
                     qPrintable(QStringLiteral("right edge at %1,%2").arg(x).arg(y)));
    }
    for (int x : {30, 158, 290}) {
        for (int y = 490; y + 1 < kSkinH; ++y)
            QVERIFY2(luma(img.pixel(x, y + 1)) < luma(img.pixel(x, y)),
                     qPrintable(QStringLiteral("bottom edge at %1,%2").arg(x).arg(y)));
    }
    // The hidden rows 509 to 511 are the darkest of all.
    QVERIFY(luma(img.pixel(158, 509)) * 5 < luma(img.pixel(158, 490)));
}

void TestPictures::skinGradient_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("row 24 is dark teal") << 24 << qRgb(0x03, 0x83, 0x84);
    QTest::newRow("row 128") << 128 << qRgb(0x12, 0x8D, 0x95);
    QTest::newRow("row 256") << 256 << qRgb(0x25, 0x96, 0xA6);
    QTest::newRow("row 384") << 384 << qRgb(0x37, 0xA4, 0xB9);
    QTest::newRow("row 486 is light sky blue") << 486 << qRgb(0x45, 0xAE, 0xCE);
}

void TestPictures::skinGradient() {
    QFETCH(int, row);
    QFETCH(QRgb, colour);
    const QImage img = loadAsset(QStringLiteral("skin.bmp"));
    for (int x = 11; x < 306; ++x)
        QVERIFY2(distance(img.pixel(x, row), colour) <= 1,
                 qPrintable(QStringLiteral("column %1 is %2, not %3")
                                .arg(x)
                                .arg(rgbText(img.pixel(x, row)), rgbText(colour))));
}

void TestPictures::skinHoldsOnlyTheTitle() {
    // Inside the frame every row is one colour, apart from the title's black.
    const QImage img = loadAsset(QStringLiteral("skin.bmp"));
    for (int y = 20; y < kSkinH - 21; ++y) {
        const QRgb rowColour = img.pixel(11, y);
        for (int x = 11; x < kSkinW - 10; ++x) {
            const QRgb c = img.pixel(x, y);
            if (c == rowColour)
                continue;
            QVERIFY2(kTitle.contains(x, y) && c == qRgb(0, 0, 0),
                     qPrintable(QStringLiteral("stray %1 at %2,%3").arg(rgbText(c)).arg(x).arg(y)));
        }
    }
}

void TestPictures::skinTitle() {
    const QImage img = loadAsset(QStringLiteral("skin.bmp"));
    const QRect all = blackBox(img, 11, kSkinW - 11);
    QVERIFY2(kTitle.contains(all) && within(all, kTitle, 2), qPrintable(rectText(all)));

    // Arabic reads from the right: the Arabic word on the right, the product word on its left,
    // with free columns between.
    const QRect arabic = blackBox(img, 170, kSkinW - 11);
    const QRect latin = blackBox(img, 11, 169);
    QVERIFY2(within(arabic, QRect(QPoint(175, 42), QPoint(239, 68)), 2),
             qPrintable(rectText(arabic)));
    QVERIFY2(within(QRect(latin.left(), 0, latin.width(), 1), QRect(63, 0, 103, 1), 2),
             qPrintable(rectText(latin)));
    QVERIFY(latin.right() + 6 < arabic.left());

    // The main body of the letters lies in rows 55 to 62: most ink sits there.
    int body = 0, total = 0;
    int holes = 0;
    for (int y = kTitle.top(); y <= kTitle.bottom(); ++y) {
        for (int x = kTitle.left(); x <= kTitle.right(); ++x) {
            const bool ink = img.pixel(x, y) == qRgb(0, 0, 0);
            total += ink;
            body += ink && y >= 55 && y <= 62;
            auto black = [&](int px, int py) { return img.pixel(px, py) == qRgb(0, 0, 0); };
            if (!ink && black(x - 1, y) && black(x + 1, y) && black(x, y - 1) && black(x, y + 1))
                ++holes;
        }
    }
    QVERIFY2(body * 2 > total, qPrintable(QStringLiteral("%1 of %2").arg(body).arg(total)));
    // The stencilled look: single pixels of the body colour inside the strokes.
    QVERIFY2(holes >= 10, qPrintable(QString::number(holes)));
}

void TestPictures::faceFormat_data() { addFaceRows(); }

void TestPictures::faceFormat() {
    QFETCH(QString, file);
    const QByteArray bytes = readAsset(file);
    QVERIFY2(!bytes.isEmpty(), qPrintable(file));
    const JpegFrame f = walkJpeg(bytes);
    QVERIFY(f.complete);
    QVERIFY(f.jfif);
    QVERIFY(f.baseline);
    QVERIFY(!f.otherFrame);
    QCOMPARE(f.precision, 8);
    QCOMPARE(f.width, kFaceW);
    QCOMPARE(f.height, kFaceH);
    QCOMPARE(f.sampling, (QList<int>{0x22, 0x11, 0x11}));
    QVERIFY(f.quantTables >= 2);
    QVERIFY(f.quantAllOne);

    QImageReader reader(assetPath(file));
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.read().size(), QSize(kFaceW, kFaceH));
}

void TestPictures::faceTile_data() { addFaceRows(); }

void TestPictures::faceTile() {
    QFETCH(QString, file);
    const QImage img = loadAsset(file);
    const QImage minus = loadAsset(QStringLiteral("key-minus.jpg"));
    const QImage equals = loadAsset(QStringLiteral("key-equals.jpg"));

    // Empty when the pixel matches, else what it holds.
    auto mismatch = [&](int x, int y, QRgb want, int tolerance) {
        const QRgb got = img.pixel(x, y);
        if (distance(got, want) <= tolerance)
            return QString();
        return QStringLiteral("%1,%2 is %3, not %4").arg(x).arg(y).arg(rgbText(got), rgbText(want));
    };
    QString first;
    for (int x = 3; x <= 40 && first.isEmpty(); ++x) {
        first = mismatch(x, 0, qRgb(0x3C, 0x40, 0x41), 8) +
                mismatch(x, 1, qRgb(0xEC, 0xF6, 0xF7), 8) +
                mismatch(x, 2, qRgb(0xD2, 0xE7, 0xE8), 8) + mismatch(x, 25, qRgb(0, 0, 0), 12);
    }
    for (int y = 3; y <= 20 && first.isEmpty(); ++y) {
        first = mismatch(0, y, qRgb(0x3C, 0x40, 0x41), 8) +
                mismatch(1, y, qRgb(0xEC, 0xF6, 0xF7), 8) + mismatch(45, y, qRgb(0, 0, 0), 12);
    }
    QVERIFY2(first.isEmpty(), qPrintable(first));
    // Light and dark ramps meet on the diagonal at the top-right and bottom-left corners.
    QVERIFY(luma(img.pixel(41, 2)) > 180 && luma(img.pixel(44, 2)) < 60);
    QVERIFY(luma(img.pixel(1, 22)) > 180 && luma(img.pixel(3, 24)) < 60);

    // Outside the sign every face is the same tile. The margin of two pixels round the sign
    // area is where colour sampled at half resolution spreads.
    const QImage &other = file == QLatin1String("key-minus.jpg") ? equals : minus;
    const QRect spread = kSignArea.adjusted(-2, -2, 2, 2);
    for (int y = 0; y < kFaceH; ++y) {
        for (int x = 0; x < kFaceW; ++x) {
            if (!spread.contains(x, y)) {
                QVERIFY2(distance(img.pixel(x, y), other.pixel(x, y)) <= 4,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
            // Lightness changes only where the sign and its shadow are.
            if (!kSignArea.contains(x, y)) {
                QVERIFY2(std::abs(luma(img.pixel(x, y)) - luma(other.pixel(x, y))) <= 6,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
    }
}

void TestPictures::faceSignBox_data() { addFaceRows(); }

void TestPictures::faceSignBox() {
    QFETCH(QString, file);
    QFETCH(QRect, box);
    const QImage img = loadAsset(file);
    const QRect got = lightBox(img);
    QVERIFY2(kSignArea.contains(got), qPrintable(rectText(got)));
    QVERIFY2(within(got, box, 2),
             qPrintable(rectText(got) + QStringLiteral(" against ") + rectText(box)));

    // Near white with a faint cyan cast, and a dark shadow below and to the right.
    QRgb brightest = 0;
    int shadows = 0;
    for (int y = got.top(); y <= got.bottom(); ++y) {
        for (int x = got.left(); x <= got.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (!isLight(img, x, y))
                continue;
            if (luma(c) > luma(brightest))
                brightest = c;
            QVERIFY2(qRed(c) <= qGreen(c) + 2 && qRed(c) <= qBlue(c) + 2, qPrintable(rgbText(c)));
            const QRgb below = img.pixel(x + 1, y + 1);
            if (!isLight(img, x + 1, y + 1) && distance(below, qRgb(0x2B, 0x56, 0x5F)) <= 40)
                ++shadows;
        }
    }
    QVERIFY2(qRed(brightest) >= 0xD4 && qGreen(brightest) >= 0xF8 && qBlue(brightest) >= 0xF8 &&
                 qRed(brightest) < qGreen(brightest),
             qPrintable(rgbText(brightest)));
    QVERIFY2(shadows >= 1, qPrintable(QString::number(shadows)));
}

void TestPictures::faceSignStrokes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<char>("kind");
    // 'L' a light stroke, '.' no stroke, 's' the stroke's shadow
    const struct {
        const char *name;
        const char *file;
        int x, y;
        char kind;
    } rows[] = {
        {"equals: upper bar starts at column 18", "key-equals.jpg", 18, 10, 'L'},
        {"equals: upper bar ends at column 26", "key-equals.jpg", 26, 11, 'L'},
        {"equals: lower bar rows 13 to 14", "key-equals.jpg", 22, 13, 'L'},
        {"equals: lower bar row 14", "key-equals.jpg", 22, 14, 'L'},
        {"equals: gap at row 12", "key-equals.jpg", 22, 12, '.'},
        {"equals: nothing above row 10", "key-equals.jpg", 22, 9, '.'},
        {"equals: nothing below row 14", "key-equals.jpg", 22, 15, '.'},
        {"equals: nothing left of column 18", "key-equals.jpg", 16, 10, '.'},
        {"equals: nothing right of column 26", "key-equals.jpg", 28, 13, '.'},
        {"plus: upright stroke from row 8", "key-plus.jpg", 22, 8, 'L'},
        {"plus: upright stroke to row 16", "key-plus.jpg", 22, 16, 'L'},
        {"plus: bar from column 18", "key-plus.jpg", 18, 12, 'L'},
        {"plus: bar to column 26", "key-plus.jpg", 26, 12, 'L'},
        {"plus: open corner top left", "key-plus.jpg", 19, 9, '.'},
        {"plus: open corner bottom right", "key-plus.jpg", 25, 15, '.'},
        {"plus: nothing above row 8", "key-plus.jpg", 22, 6, '.'},
        {"minus: bar from column 20", "key-minus.jpg", 20, 13, 'L'},
        {"minus: bar to column 24, row 14", "key-minus.jpg", 24, 14, 'L'},
        {"minus: nothing at row 12", "key-minus.jpg", 22, 12, '.'},
        {"minus: nothing at row 15", "key-minus.jpg", 22, 15, '.'},
        {"minus: nothing at column 19", "key-minus.jpg", 18, 13, '.'},
        {"minus: nothing at column 26", "key-minus.jpg", 26, 13, '.'},
        {"divide: bar from column 18", "key-divide.jpg", 18, 12, 'L'},
        {"divide: bar to column 26", "key-divide.jpg", 26, 12, 'L'},
        {"divide: dot above", "key-divide.jpg", 22, 9, 'L'},
        {"divide: dot below", "key-divide.jpg", 22, 16, 'L'},
        {"divide: dots are narrow", "key-divide.jpg", 19, 9, '.'},
        {"divide: lower dot is narrow", "key-divide.jpg", 19, 16, '.'},
        {"times: centre of the cross", "key-times.jpg", 22, 12, 'L'},
        {"times: open above the centre", "key-times.jpg", 22, 9, '.'},
        {"times: open left of the centre", "key-times.jpg", 19, 12, '.'},
        {"point: dot low in the middle", "key-point.jpg", 22, 16, 'L'},
        {"point: tail below the dot", "key-point.jpg", 22, 18, 'L'},
        {"point: nothing in the middle", "key-point.jpg", 22, 12, '.'},
        {"1: upright stroke", "key-1.jpg", 22, 12, 'L'},
        {"0: open in the middle", "key-0.jpg", 22, 12, '.'},
        {"8: waist in the middle", "key-8.jpg", 22, 12, 'L'},
        {"equals: shadow below the lower bar", "key-equals.jpg", 22, 15, 's'},
        {"equals: shadow between the bars", "key-equals.jpg", 22, 12, 's'},
        {"plus: shadow right of the upright stroke", "key-plus.jpg", 24, 15, 's'},
        {"minus: shadow below the bar", "key-minus.jpg", 23, 15, 's'},
    };
    for (const auto &r : rows)
        QTest::newRow(r.name) << QString::fromLatin1(r.file) << QPoint(r.x, r.y) << r.kind;
}

void TestPictures::faceSignStrokes() {
    QFETCH(QString, file);
    QFETCH(QPoint, at);
    QFETCH(char, kind);
    const QImage img = loadAsset(file);
    const QRgb c = img.pixel(at);
    const QString seen = QStringLiteral("%1 has lightness %2").arg(rgbText(c)).arg(luma(c));
    if (kind == 's')
        QVERIFY2(distance(c, qRgb(0x2B, 0x56, 0x5F)) <= 24, qPrintable(seen));
    else
        QVERIFY2(isLight(img, at.x(), at.y()) == (kind == 'L'), qPrintable(seen));
}

void TestPictures::faceFaceColour_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("face row 10") << 10 << qRgb(0x1E, 0x88, 0x95);
    QTest::newRow("face row 13") << 13 << qRgb(0x25, 0x8F, 0x9D);
    QTest::newRow("face row 15") << 15 << qRgb(0x2D, 0x90, 0xA3);
    QTest::newRow("dark ramp starts at row 17") << 17 << qRgb(0x29, 0x7F, 0x90);
}

void TestPictures::faceFaceColour() {
    // Wherever a face's sign leaves the teal face free.
    QFETCH(int, row);
    QFETCH(QRgb, colour);
    int checked = 0;
    for (const FaceSign &f : kFaces) {
        const QImage img = loadAsset(QString::fromLatin1(f.file));
        const QRect clear = f.box.adjusted(-3, -3, 4, 4);
        for (int x = 11; x <= 34; ++x) {
            if (clear.contains(x, row))
                continue;
            ++checked;
            QVERIFY2(distance(img.pixel(x, row), colour) <= 5,
                     qPrintable(QStringLiteral("%1 at %2: %3")
                                    .arg(QLatin1String(f.file))
                                    .arg(x)
                                    .arg(rgbText(img.pixel(x, row)))));
        }
    }
    QVERIFY(checked > 40);
}

void TestPictures::facesAllDiffer() {
    // One picture for each of the 24 signs; the three equals keys share one file.
    QList<QImage> images;
    QSet<QByteArray> bytes;
    for (const FaceSign &f : kFaces) {
        images << loadAsset(QString::fromLatin1(f.file));
        bytes.insert(readAsset(QString::fromLatin1(f.file)));
    }
    QCOMPARE(bytes.size(), 24);
    for (int i = 0; i < images.size(); ++i) {
        for (int j = i + 1; j < images.size(); ++j) {
            int most = 0;
            for (int y = 6; y <= 20; ++y)
                for (int x = 6; x <= 39; ++x)
                    most = std::max(
                        most, std::abs(luma(images[i].pixel(x, y)) - luma(images[j].pixel(x, y))));
            QVERIFY2(most > 60, qPrintable(QStringLiteral("%1 and %2")
                                               .arg(QLatin1String(kFaces[i].file),
                                                    QLatin1String(kFaces[j].file))));
        }
    }
}

void TestPictures::rootWordShared() {
    const QImage root = loadAsset(QStringLiteral("key-root.jpg"));
    const QImage two = loadAsset(QStringLiteral("key-root2.jpg"));
    const QImage three = loadAsset(QStringLiteral("key-root3.jpg"));
    // The word is the same in both, only the digit on its left differs; the digit's colour,
    // sampled at half resolution, spreads two columns into the word.
    for (int y = 0; y < kFaceH; ++y) {
        for (int x = kRootWordFrom; x < kFaceW; ++x) {
            const QRgb a = two.pixel(x, y), b = three.pixel(x, y);
            QVERIFY2(x < kRootWordFrom + 2 ? std::abs(luma(a) - luma(b)) <= 3 : distance(a, b) <= 3,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    // The word alone stands in the middle of its tile.
    for (int y = 6; y <= 20; ++y)
        for (int x = 6; x < 10; ++x)
            QVERIFY(!isLight(root, x, y));
}

void TestPictures::rootDigitsReadApart() {
    const QImage two = loadAsset(QStringLiteral("key-root2.jpg"));
    const QImage three = loadAsset(QStringLiteral("key-root3.jpg"));
    // At the window's size a difference under a quarter of the grey scale is lost.
    int differ = 0;
    for (int y = 0; y < kFaceH; ++y)
        for (int x = 0; x < kFaceW; ++x)
            differ += std::abs(luma(two.pixel(x, y)) - luma(three.pixel(x, y))) >= 64;
    QVERIFY2(differ >= 30, qPrintable(QString::number(differ)));

    for (const QImage *img : {&two, &three}) {
        // Each digit is large, and a column of bare face keeps it apart from the word.
        QRect digit;
        int gap = -1;
        for (int x = 6; x < kRootWordFrom; ++x) {
            bool lit = false;
            for (int y = 6; y <= 20; ++y) {
                if (isLight(*img, x, y)) {
                    digit |= QRect(x, y, 1, 1);
                    lit = true;
                }
            }
            if (!lit && !digit.isEmpty() && gap < 0)
                gap = x;
        }
        QVERIFY2(digit.width() >= 6 && digit.width() <= 8 && digit.height() >= 10 &&
                     digit.height() <= 11,
                 qPrintable(rectText(digit)));
        QVERIFY2(gap > digit.right(), qPrintable(rectText(digit)));
    }
}

void TestPictures::digitOneShape() {
    const QImage one = loadAsset(QStringLiteral("key-1.jpg"));
    QCOMPARE(lightBox(one), QRect(QPoint(19, 7), QPoint(23, 17)));
    // A flag at the top left, clear of the stem below it; the bottom rows hold the stem alone.
    bool flag = false;
    for (int y = 7; y <= 10; ++y)
        flag = flag || isLight(one, 19, y);
    QVERIFY(flag);
    for (int y = 12; y <= 17; ++y)
        for (int x = 19; x <= 20; ++x)
            QVERIFY2(!isLight(one, x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void TestPictures::iconFile() {
    const QByteArray b = readAsset(QStringLiteral("icon.ico"));
    QCOMPARE(b.size(), 1078);
    QCOMPARE(u16(b, 0), quint16(0));
    QCOMPARE(u16(b, 2), quint16(1));
    QCOMPARE(u16(b, 4), quint16(2));
    const struct {
        int side, bytes, offset;
    } entries[] = {{32, 744, 6 + 2 * 16}, {16, 296, 6 + 2 * 16 + 744}};
    for (int i = 0; i < 2; ++i) {
        const int e = 6 + 16 * i;
        const auto &want = entries[i];
        QCOMPARE(int(uchar(b[e])), want.side);
        QCOMPARE(int(uchar(b[e + 1])), want.side);
        QCOMPARE(int(uchar(b[e + 2])), 16);
        QCOMPARE(u16(b, e + 4), quint16(1));
        QCOMPARE(u16(b, e + 6), quint16(4));
        QCOMPARE(u32(b, e + 8), quint32(want.bytes));
        QCOMPARE(u32(b, e + 12), quint32(want.offset));

        const int h = want.offset;
        QCOMPARE(u32(b, h), 40u);
        QCOMPARE(u32(b, h + 4), quint32(want.side));
        QCOMPARE(u32(b, h + 8), quint32(2 * want.side));
        QCOMPARE(u16(b, h + 12), quint16(1));
        QCOMPARE(u16(b, h + 14), quint16(4));
        QCOMPARE(u32(b, h + 16), 0u);
        for (int c = 0; c < 16; ++c) {
            const int p = h + 40 + 4 * c;
            QCOMPARE(qRgb(uchar(b[p + 2]), uchar(b[p + 1]), uchar(b[p])),
                     QRgb(kWindowsPalette[c] | 0xFF000000u));
        }
        // Only black, grey, light grey and white: palette indices 0, 8, 7 and 15.
        const int pixels = h + 40 + 64;
        const int xorBytes = want.side * want.side / 2;
        for (int k = 0; k < xorBytes; ++k) {
            for (int nibble : {uchar(b[pixels + k]) >> 4, uchar(b[pixels + k]) & 0xF})
                QVERIFY2(nibble == 0 || nibble == 7 || nibble == 8 || nibble == 15,
                         qPrintable(QString::number(nibble)));
        }
        // The AND mask leaves every pixel opaque.
        const int maskRow = (want.side + 31) / 32 * 4;
        const QByteArray mask = b.mid(pixels + xorBytes, maskRow * want.side);
        QCOMPARE(mask, QByteArray(maskRow * want.side, '\0'));
        QCOMPARE(pixels + xorBytes + mask.size(), want.offset + want.bytes);
    }
}

void TestPictures::iconImages() {
    const QList<QImage> images = readIcon(readAsset(QStringLiteral("icon.ico")));
    QCOMPARE(images.size(), 2);
    const QImage &big = images[0];
    const QImage &small = images[1];
    QCOMPARE(big.size(), QSize(32, 32));
    QCOMPARE(small.size(), QSize(16, 16));
    for (const QImage &img : images) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                QCOMPARE(qAlpha(c), 255);
                QVERIFY(std::find(std::begin(kIconColours), std::end(kIconColours), c) !=
                        std::end(kIconColours));
            }
    }
    // The upright plus on the key right of the middle one, on white.
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(big.pixel(27, 11 + i), black);
        QCOMPARE(big.pixel(25 + i, 13), black);
    }
    for (const QPoint p : {QPoint(25, 11), QPoint(29, 11), QPoint(25, 15), QPoint(29, 15),
                           QPoint(27, 10), QPoint(27, 16), QPoint(24, 13), QPoint(30, 13)})
        QCOMPARE(big.pixel(p), white);
    // Mostly white key tops, with grooves in all four shades.
    QSet<QRgb> shades;
    int whites = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            shades.insert(big.pixel(x, y));
            whites += big.pixel(x, y) == white;
        }
    QCOMPARE(shades.size(), 4);
    QVERIFY(whites > 32 * 32 / 2);

    // The small image samples the big one at (2x, 2y + 1), with at most 15 pixels touched up.
    int touched = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            touched += small.pixel(x, y) != big.pixel(2 * x, 2 * y + 1);
    QVERIFY2(touched <= 15, qPrintable(QString::number(touched)));
}

void TestPictures::iconPngsMatch() {
    const QList<QImage> images = readIcon(readAsset(QStringLiteral("icon.ico")));
    QCOMPARE(images.size(), 2);
    const QImage png32 = loadAsset(QStringLiteral("icon-32.png"));
    const QImage png16 = loadAsset(QStringLiteral("icon-16.png"));
    QCOMPARE(png32, images[0].convertToFormat(QImage::Format_RGB32));
    QCOMPARE(png16, images[1].convertToFormat(QImage::Format_RGB32));
}

void TestPictures::iconLarge_data() {
    QTest::addColumn<int>("side");
    for (const int side : {64, 128, 256})
        QTest::newRow(qPrintable(QStringLiteral("%1 x %1").arg(side))) << side;
}

void TestPictures::iconLarge() {
    // The desktop's larger sizes: the small image's keys, drawn afresh with smooth edges.
    QFETCH(int, side);
    const QString file = QStringLiteral("icon-%1.png").arg(side);
    QImageReader reader(assetPath(file));
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage img = reader.read().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(img.size(), QSize(side, side));

    // Greys only, opaque; the four greys themselves, and smoothing between them.
    QSet<QRgb> four;
    int between = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const QRgb c = img.pixel(x, y);
            QCOMPARE(qAlpha(c), 255);
            QVERIFY2(distance(c, qRgb(qRed(c), qRed(c), qRed(c))) <= 2, qPrintable(rgbText(c)));
            const QRgb *nearest =
                std::min_element(std::begin(kIconColours), std::end(kIconColours),
                                 [&](QRgb a, QRgb b) { return distance(a, c) < distance(b, c); });
            if (distance(*nearest, c) <= 4)
                four.insert(*nearest);
            else
                ++between;
        }
    }
    QCOMPARE(four.size(), 4);
    QVERIFY2(between > side, qPrintable(QString::number(between)));

    // Points on the small image's grid: what lies there in both.
    const QRgb black = qRgb(0, 0, 0), grey = qRgb(0x80, 0x80, 0x80),
               lightGrey = qRgb(0xC0, 0xC0, 0xC0), white = qRgb(255, 255, 255);
    const struct {
        const char *what;
        double x, y;
        QRgb colour;
    } points[] = {
        {"the plus's middle", 27.5, 13.5, black},
        {"the plus's left end", 25.5, 13.5, black},
        {"the plus's right end", 29.5, 13.5, black},
        {"the plus's top", 27.5, 11.5, black},
        {"the plus's bottom", 27.5, 15.5, black},
        {"beside the plus, top left", 25.5, 11.5, white},
        {"beside the plus, bottom right", 29.5, 15.5, white},
        {"the middle of the whole key", 17.5, 22.5, white},
        {"a crossing of two grooves", 17.5, 12.5, black},
        {"a groove's shaded side", 12.0, 17.0, grey},
        {"a groove's black line", 12.5, 17.5, black},
        {"a groove's lit side", 13.0, 18.0, lightGrey},
        {"the other groove's lit side", 22.0, 18.0, lightGrey},
        {"the other groove's black line", 22.5, 17.5, black},
        {"the other groove's shaded side", 23.0, 17.0, grey},
        {"the mark on the whole key", 16.5, 19.5, black},
    };
    // At the smallest size a groove's line is under two pixels wide, so there the colour is
    // looked for within a pixel of the point.
    const double scale = side / 32.0;
    const int reach = side < 128 ? 1 : 0;
    for (const auto &pt : points) {
        const int px = int(pt.x * scale), py = int(pt.y * scale);
        int best = 255;
        for (int y = py - reach; y <= py + reach; ++y)
            for (int x = px - reach; x <= px + reach; ++x)
                best = std::min(best, distance(img.pixel(x, y), pt.colour));
        QVERIFY2(best <= 24, qPrintable(QStringLiteral("%1 at %2,%3 is %4")
                                            .arg(QLatin1String(pt.what))
                                            .arg(px)
                                            .arg(py)
                                            .arg(rgbText(img.pixel(px, py)))));
    }
}

void TestPictures::icoWriterRoundTrip_data() {
    QTest::addColumn<QList<QImage>>("images");
    QTest::addColumn<int>("fileBytes");

    // Every palette colour once, in sizes whose rows need padding and an odd pixel.
    auto pattern = [](int w, int h, int shift) {
        QImage img(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                img.setPixel(x, y, icowriter::standardPalette()[(y * w + x + shift) % 16]);
        return img;
    };
    // 5 wide: 4-bit rows of 3 bytes padded to 4, mask rows of 1 byte padded to 4.
    QTest::newRow("one odd-sized image")
        << QList<QImage>{pattern(5, 4, 0)} << 6 + 16 + 40 + 64 + 4 * 4 + 4 * 4;
    QTest::newRow("two images, the second 33 wide")
        << QList<QImage>{pattern(4, 4, 3), pattern(33, 2, 7)}
        << 6 + 2 * 16 + (40 + 64 + 4 * 4 + 4 * 4) + (40 + 64 + 20 * 2 + 8 * 2);
    QTest::newRow("the icon's own sizes")
        << QList<QImage>{pattern(32, 32, 1), pattern(16, 16, 5)} << 1078;
}

void TestPictures::icoWriterRoundTrip() {
    QFETCH(QList<QImage>, images);
    QFETCH(int, fileBytes);
    QString error;
    const QByteArray bytes = icowriter::encode(images, &error);
    QVERIFY2(!bytes.isEmpty(), qPrintable(error));
    QCOMPARE(bytes.size(), fileBytes);
    const QList<QImage> back = readIcon(bytes);
    QCOMPARE(back.size(), images.size());
    for (int i = 0; i < images.size(); ++i) {
        QCOMPARE(back[i].size(), images[i].size());
        for (int y = 0; y < images[i].height(); ++y)
            for (int x = 0; x < images[i].width(); ++x) {
                QCOMPARE(qAlpha(back[i].pixel(x, y)), 255);
                QCOMPARE(back[i].pixel(x, y), images[i].pixel(x, y));
            }
    }
}

void TestPictures::icoWriterRejects_data() {
    QTest::addColumn<QList<QImage>>("images");
    QImage offPalette(4, 4, QImage::Format_RGB32);
    offPalette.fill(Qt::white);
    offPalette.setPixel(2, 1, qRgb(0x12, 0x34, 0x56));
    QImage tooWide(257, 1, QImage::Format_RGB32);
    tooWide.fill(Qt::black);
    QImage fine(2, 2, QImage::Format_RGB32);
    fine.fill(Qt::black);
    QTest::newRow("a colour outside the palette") << QList<QImage>{fine, offPalette};
    QTest::newRow("a side over 256") << QList<QImage>{tooWide};
    QTest::newRow("an empty image") << QList<QImage>{QImage()};
    QTest::newRow("no image at all") << QList<QImage>{};
}

void TestPictures::icoWriterRejects() {
    QFETCH(QList<QImage>, images);
    QString error;
    QVERIFY(icowriter::encode(images, &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestPictures)
#include "tst_pictures.moc"
