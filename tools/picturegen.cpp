// Draws the window's pictures: the skin, the key faces and the icon. Everything is drawn here
// from colours, shapes and Debian fonts, so the committed files under assets/ can be redrawn
// on any machine with the same packages, byte for byte the same.

#include "icowriter.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Colours

struct Rgb {
    double r = 0, g = 0, b = 0;
};

constexpr Rgb hex(quint32 v) {
    return {double((v >> 16) & 0xFF), double((v >> 8) & 0xFF), double(v & 0xFF)};
}

Rgb lerp(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(Rgb c, double f) { return {c.r * f, c.g * f, c.b * f}; }

QRgb toQRgb(Rgb c) {
    auto channel = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return qRgb(channel(c.r), channel(c.g), channel(c.b));
}

struct Anchor {
    double at;
    quint32 colour;
};

// Linear through the anchors, and on along the end segments beyond them.
Rgb throughAnchors(std::initializer_list<Anchor> anchors, double at) {
    const Anchor *a = anchors.begin();
    const Anchor *last = anchors.end() - 1;
    while (a + 1 < last && at > a[1].at)
        ++a;
    return lerp(hex(a[0].colour), hex(a[1].colour), (at - a[0].at) / (a[1].at - a[0].at));
}

// A bevelled picture is a set of edge bands around a body. A pixel inside several bands takes the
// one it lies shallowest in, so two bands meet on the diagonal; on a tie the first listed wins.
struct Band {
    bool inside;
    int depth;
};

int shallowest(std::initializer_list<Band> bands) {
    int best = -1;
    int bestDepth = INT_MAX;
    int i = 0;
    for (const Band &band : bands) {
        if (band.inside && band.depth < bestDepth) {
            best = i;
            bestDepth = band.depth;
        }
        ++i;
    }
    return best;
}

// ---------------------------------------------------------------------------------------------
// Fonts and outlines

struct Fonts {
    QFont digits; // Western digits
    QFont arabic; // key words and Arabic-Indic digits
    QFont titleArabic;
    QFont titleLatin;
};

QFont loadFont(const QString &path) {
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty())
        throw std::runtime_error("cannot load font " + path.toStdString());
    QFont font(families.first());
    font.setWeight(QFont::Bold);
    font.setPixelSize(200); // outlines are scaled down to their boxes afterwards
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    if (!QFontInfo(font).bold())
        throw std::runtime_error("no bold face in " + path.toStdString());
    return font;
}

QPainterPath textPath(const QFont &font, const QString &text) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// Maps `from` onto `to`, stretching one way at most `maxStretch` times more than the other;
// what is left over either way is shared out evenly on both sides.
QTransform fitInto(const QRectF &from, const QRectF &to, double maxStretch) {
    double sx = to.width() / from.width();
    double sy = to.height() / from.height();
    if (sx > sy * maxStretch)
        sx = sy * maxStretch;
    if (sy > sx * maxStretch)
        sy = sx * maxStretch;
    const double dx = to.left() + (to.width() - from.width() * sx) / 2 - from.left() * sx;
    const double dy = to.top() + (to.height() - from.height() * sy) / 2 - from.top() * sy;
    return QTransform(sx, 0, 0, sy, dx, dy);
}

// Continuous rectangle covering whole pixels x0..x1, y0..y1.
QRectF pixels(int x0, int y0, int x1, int y1) { return QRectF(x0, y0, x1 - x0 + 1, y1 - y0 + 1); }

// Coverage of `path` over a w x h grid, 0..255 a pixel.
std::vector<int> coverage(const QPainterPath &path, int w, int h, bool smooth) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, smooth);
        p.fillPath(path, Qt::white);
    }
    std::vector<int> out(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[size_t(y) * size_t(w) + size_t(x)] = qAlpha(img.pixel(x, y));
    return out;
}

QRect inkBox(const std::vector<int> &cov, int w, int h, int threshold) {
    QRect box;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (cov[size_t(y) * size_t(w) + size_t(x)] > threshold)
                box |= QRect(x, y, 1, 1);
    return box;
}

// ---------------------------------------------------------------------------------------------
// The skin: a bevelled frame round a vertical gradient, with the drawn title

constexpr int kSkinW = 316;
constexpr int kSkinH = 512;

Rgb skinBody(int y) {
    return throughAnchors(
        {{24, 0x038384}, {128, 0x128D95}, {256, 0x2596A6}, {384, 0x37A4B9}, {486, 0x45AECE}}, y);
}

Rgb skinPixel(int x, int y) {
    const Rgb body = skinBody(y);
    const int top = 0, left = 1, right = 2, bottom = 3;
    const int band = shallowest({{y < 20, y},
                                 {x < 11, x},
                                 {x >= kSkinW - 10, kSkinW - 1 - x},
                                 {y >= kSkinH - 21, kSkinH - 1 - y}});
    if (band == top) {
        static const quint32 lines[] = {0x0F1110, 0x4C504F, 0xBFC5C5};
        if (y < 3)
            return hex(lines[y]);
        return throughAnchors(
            {{3, 0xF0FAFB}, {8, 0x9DCFCE}, {12, 0x66B4B6}, {16, 0x2E9A9C}, {19, 0x0B8181}}, y);
    }
    if (band == left) {
        if (x == 0)
            return hex(0x3A3F43);
        return lerp(hex(0xEBF6FA), body, std::min(1.0, (x - 1) / 8.5));
    }
    if (band == right)
        return scaled(body, (kSkinW - 1 - x) / 10.0);
    if (band == bottom)
        return scaled(body, (kSkinH - 1 - y) / 21.0);
    return body;
}

// A fixed integer hash, so the stencil holes fall in the same places on every run.
quint32 mix(quint32 x, quint32 y) {
    quint32 h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0xC2B2AE3Du;
    h ^= h >> 13;
    return h;
}

struct TitleWord {
    QPainterPath path;
    QRect box; // whole pixels the word must fill
};

// Fits a path so that its hard-edged pixels fill `box`; the first guess maps the outline onto
// the box, then the box is nudged by whatever the pixel grid gained or lost.
// `embolden` widens every stroke by that many pixels.
QPainterPath fitHard(const QPainterPath &path, const QRect &box, double maxStretch,
                     double embolden) {
    QRectF target = pixels(box.left(), box.top(), box.right(), box.bottom());
    QPainterPath fitted;
    QPainterPathStroker stroker;
    stroker.setWidth(embolden);
    stroker.setJoinStyle(Qt::RoundJoin);
    for (int round = 0; round < 6; ++round) {
        const double grow = embolden / 2;
        fitted = fitInto(path.boundingRect(), target.adjusted(grow, grow, -grow, -grow), maxStretch)
                     .map(path);
        if (embolden > 0)
            fitted = fitted.united(stroker.createStroke(fitted)).simplified();
        const QRect got = inkBox(coverage(fitted, kSkinW, kSkinH, false), kSkinW, kSkinH, 0);
        if (got == box)
            break;
        target.adjust((box.left() - got.left()) * 0.5, (box.top() - got.top()) * 0.5,
                      (box.right() - got.right()) * 0.5, (box.bottom() - got.bottom()) * 0.5);
    }
    return fitted;
}

void drawTitle(QImage &skin, const Fonts &fonts) {
    // Arabic reads from the right: the Arabic word stands right of the product word.
    QPainterPath arabic = fitHard(textPath(fonts.titleArabic, QStringLiteral(u"حاسبة")),
                                  QRect(QPoint(175, 42), QPoint(239, 68)), 1.6, 0.9);

    // The product word shares the Arabic word's main body band, rows 55 to 62.
    const QPainterPath latinRaw = textPath(fonts.titleLatin, QStringLiteral("Zendaric"));
    const QRectF xBox = textPath(fonts.titleLatin, QStringLiteral("x")).boundingRect();
    const QRectF raw = latinRaw.boundingRect();
    const double sy = 8.0 / xBox.height();
    const double sx = 103.0 / raw.width();
    QPainterPath latin =
        QTransform(sx, 0, 0, sy, 63 - raw.left() * sx, 63 - xBox.bottom() * sy).map(latinRaw);

    const std::vector<int> ink = coverage(arabic.united(latin), kSkinW, kSkinH, false);
    auto isInk = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kSkinW && y < kSkinH &&
               ink[size_t(y) * kSkinW + size_t(x)] > 0;
    };
    std::vector<bool> hole(size_t(kSkinW) * kSkinH, false);
    auto isHole = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kSkinW && hole[size_t(y) * kSkinW + size_t(x)];
    };
    for (int y = 0; y < kSkinH; ++y) {
        for (int x = 0; x < kSkinW; ++x) {
            if (!isInk(x, y))
                continue;
            // Holes only deep inside a stroke and never touching each other, so the outline
            // stays whole and each hole is a single pixel.
            const bool interior =
                isInk(x - 1, y) && isInk(x + 1, y) && isInk(x, y - 1) && isInk(x, y + 1);
            const bool apart = !isHole(x - 1, y) && !isHole(x - 1, y - 1) && !isHole(x, y - 1) &&
                               !isHole(x + 1, y - 1);
            if (interior && apart && mix(quint32(x), quint32(y)) % 9 == 0) {
                hole[size_t(y) * kSkinW + size_t(x)] = true;
                continue;
            }
            skin.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
}

QImage drawSkin(const Fonts &fonts) {
    QImage skin(kSkinW, kSkinH, QImage::Format_RGB32);
    for (int y = 0; y < kSkinH; ++y)
        for (int x = 0; x < kSkinW; ++x)
            skin.setPixel(x, y, toQRgb(skinPixel(x, y)));
    drawTitle(skin, fonts);
    return skin;
}

// ---------------------------------------------------------------------------------------------
// Key faces: one bevelled tile, with a raised near-white sign on it

constexpr int kTileW = 46;
constexpr int kTileH = 26;

Rgb faceColour(double y) {
    return throughAnchors({{10, 0x1E8895}, {13, 0x258F9D}, {15, 0x2D90A3}},
                          std::clamp(y, 9.0, 16.0));
}

Rgb tilePixel(int x, int y) {
    const int top = 0, left = 1, right = 2, bottom = 3;
    const int band = shallowest({{y < 9, y},
                                 {x < 10, x},
                                 {x >= kTileW - 10, kTileW - 1 - x},
                                 {y >= kTileH - 9, kTileH - 1 - y}});
    const Rgb face = faceColour(y);
    if (band == top || band == left) {
        const int depth = band == top ? y : x;
        if (depth == 0)
            return hex(0x3C4041);
        if (depth == 1)
            return hex(0xECF6F7);
        const double t = band == top ? (y - 2) / 7.0 : (x - 2) / 8.0;
        return lerp(hex(0xD2E7E8), band == top ? faceColour(9) : face, t);
    }
    if (band == right)
        return scaled(face, 0.875 * (kTileW - 1 - x) / 9.0);
    if (band == bottom)
        return scaled(hex(0x297F90), (kTileH - 1 - y) / 8.0);
    return face;
}

using Mask = std::vector<int>; // coverage over the tile, 0..255 a pixel

Mask tileCoverage(const QPainterPath &path) { return coverage(path, kTileW, kTileH, true); }

QImage drawFace(const Mask &sign) {
    const Rgb shadow = hex(0x2B565F);
    auto at = [&](int x, int y) {
        if (x < 0 || y < 0)
            return 0.0;
        return sign[size_t(y) * kTileW + size_t(x)] / 255.0;
    };
    QImage img(kTileW, kTileH, QImage::Format_RGB32);
    for (int y = 0; y < kTileH; ++y) {
        // Brightest at the top of the sign, with a faint cyan cast throughout.
        const Rgb light = lerp(hex(0xF9FFFF), hex(0xE0FFFF), std::clamp((y - 6) / 14.0, 0.0, 1.0));
        for (int x = 0; x < kTileW; ++x) {
            Rgb c = tilePixel(x, y);
            c = lerp(c, shadow, at(x - 1, y - 1));
            c = lerp(c, light, at(x, y));
            img.setPixel(x, y, toQRgb(c));
        }
    }
    return img;
}

// Bars keep hard edges on whole pixels, so that their one-pixel shadow shows clean.
QPainterPath bar(int x0, int y0, int x1, int y1) {
    QPainterPath p;
    p.addRect(pixels(x0, y0, x1, y1));
    return p;
}

struct Face {
    const char *file;
    Mask sign;
};

// Western digits share one scale and one baseline: rows 7 to 17, each centred on its own column.
QPainterPath digitPath(const QFont &font, QChar digit, double centre) {
    QRectF all;
    for (char c = '0'; c <= '9'; ++c)
        all |= textPath(font, QString(QChar(c))).boundingRect();
    const double s = 11.0 / all.height();
    const QPainterPath raw = textPath(font, QString(digit));
    const QRectF r = raw.boundingRect();
    const double dx = std::round(centre - r.width() * s / 2) - r.left() * s;
    return QTransform(s, 0, 0, s, dx, 7 - all.top() * s).map(raw);
}

// A word fills its box; Arabic letters stand a little stretch either way at this size.
QPainterPath wordPath(const QPainterPath &raw, const QRect &box) {
    return fitInto(raw.boundingRect(), pixels(box.left(), box.top(), box.right(), box.bottom()),
                   1.45)
        .map(raw);
}

QPainterPath wordPath(const QFont &font, const QString &word, const QRect &box) {
    return wordPath(textPath(font, word), box);
}

// Lays hard-edged pixels over a sign, '#' a full pixel, from column x0 and row y0.
void stampMask(Mask &sign, int x0, int y0, std::initializer_list<const char *> rows) {
    int y = y0;
    for (const char *row : rows) {
        for (int x = x0; *row; ++x, ++row)
            if (*row == '#')
                sign[size_t(y) * kTileW + size_t(x)] = 255;
        ++y;
    }
}

std::vector<Face> drawFaces(const Fonts &fonts) {
    std::vector<Face> faces;
    auto add = [&](const char *file, const QPainterPath &path) {
        faces.push_back({file, tileCoverage(path)});
    };

    const struct {
        const char *file;
        char digit;
        int x0, x1; // the columns the digit is centred on
    } digits[] = {{"key-0.jpg", '0', 18, 25}, {"key-1.jpg", '1', 19, 23},
                  {"key-2.jpg", '2', 18, 25}, {"key-3.jpg", '3', 19, 25},
                  {"key-4.jpg", '4', 18, 26}, {"key-5.jpg", '5', 19, 25},
                  {"key-6.jpg", '6', 18, 25}, {"key-7.jpg", '7', 19, 25},
                  {"key-8.jpg", '8', 18, 25}, {"key-9.jpg", '9', 18, 25}};
    for (const auto &d : digits) {
        if (d.digit != '1')
            add(d.file, digitPath(fonts.digits, QChar(d.digit), (d.x0 + d.x1 + 1) / 2.0));
    }
    {
        // The font's 1 carries a foot, which at this size reads as a capital I:
        // an upright stroke with a flag at its top left instead.
        QPainterPath one;
        one.moveTo(24.0, 7.0);
        one.lineTo(24.0, 18.0);
        one.lineTo(21.8, 18.0);
        one.lineTo(21.8, 9.4);
        one.lineTo(19.0, 10.5);
        one.lineTo(19.0, 8.7);
        one.lineTo(21.2, 7.0);
        one.closeSubpath();
        add("key-1.jpg", one);
    }

    add("key-equals.jpg", bar(18, 10, 26, 11).united(bar(18, 13, 26, 14)));
    add("key-plus.jpg", bar(21, 8, 23, 16).united(bar(18, 11, 26, 13)));
    add("key-minus.jpg", bar(20, 13, 24, 14));
    {
        // The dots sit close on the bar; keep a hairline of face between them so they read.
        QPainterPath divide;
        divide.addRect(pixels(18, 11, 26, 13));
        divide.addEllipse(QRectF(21.0, 7.7, 3.0, 2.6));
        divide.addEllipse(QRectF(21.0, 15.1, 3.0, 2.1));
        add("key-divide.jpg", divide.simplified());
    }
    {
        QPainterPath cross;
        cross.moveTo(19.4, 9.4);
        cross.lineTo(25.6, 15.6);
        cross.moveTo(25.6, 9.4);
        cross.lineTo(19.4, 15.6);
        QPainterPathStroker stroker;
        stroker.setWidth(1.7);
        stroker.setCapStyle(Qt::FlatCap);
        QPainterPath box;
        box.addRect(pixels(19, 9, 25, 15));
        add("key-times.jpg", stroker.createStroke(cross).intersected(box));
    }
    {
        // A comma-shaped point: a round dot with a short tail curling down to the left.
        QPainterPath point;
        point.addEllipse(QRectF(20.9, 14.9, 3.2, 3.2));
        QPainterPath tail;
        tail.moveTo(24.1, 16.5);
        tail.cubicTo(24.3, 18.3, 23.7, 19.5, 22.2, 20.0);
        tail.lineTo(21.9, 19.5);
        tail.cubicTo(22.3, 19.1, 22.2, 18.3, 21.6, 17.6);
        tail.closeSubpath();
        add("key-point.jpg", point.united(tail));
    }

    // The word-only root key carries the word in the middle of its tile.
    const QPainterPath rawRoot = textPath(fonts.arabic, QStringLiteral(u"جذر"));
    add("key-root.jpg",
        QTransform::fromTranslate(-4, 0).map(wordPath(rawRoot, QRect(14, 6, 25, 13))));

    // The square- and cube-root keys must read apart at the window's size, so their digits are
    // drawn pixel by pixel, as large as the tile allows, and the word narrows to make room. Text
    // runs from the right: each digit keeps the same gap to the word, so the narrower two stands
    // further right than the three.
    const QPainterPath narrowRoot = wordPath(rawRoot, QRect(QPoint(16, 6), QPoint(38, 18)));
    const struct {
        const char *file;
        std::initializer_list<const char *> rows;
    } roots[] = {
        {"key-root2.jpg",
         {"..##..##", //
          "..##..##", //
          "..##.##.", //
          "..####..", //
          "..###...", //
          "..##....", //
          "..##....", //
          "..##....", //
          "..##....", //
          "..##...."}},
        {"key-root3.jpg",
         {"##.##.##", //
          "##.##.##", //
          "##.##.##", //
          "########", //
          "#######.", //
          "##......", //
          "##......", //
          "##......", //
          "##......", //
          "##......"}},
    };
    for (const auto &r : roots) {
        Mask sign = tileCoverage(narrowRoot);
        stampMask(sign, 6, 7, r.rows);
        faces.push_back({r.file, sign});
    }

    const struct {
        const char *file;
        const char16_t *word;
        QRect box;
    } words[] = {
        {"key-reset.jpg", u"اعادة", QRect(QPoint(10, 7), QPoint(34, 15))},
        {"key-power.jpg", u"الأس", QRect(QPoint(11, 6), QPoint(33, 18))},
        {"key-cube.jpg", u"تكعيب", QRect(QPoint(6, 7), QPoint(38, 18))},
        {"key-square.jpg", u"تربيع", QRect(QPoint(7, 7), QPoint(38, 19))},
        {"key-pi.jpg", u"الباي", QRect(QPoint(11, 7), QPoint(33, 19))},
    };
    for (const auto &w : words)
        add(w.file, wordPath(fonts.arabic, QString::fromUtf16(w.word), w.box));
    return faces;
}

// ---------------------------------------------------------------------------------------------
// The icon: calculator keys turned by 45 degrees

const QRgb kBlack = qRgb(0x00, 0x00, 0x00);
const QRgb kGrey = qRgb(0x80, 0x80, 0x80);
const QRgb kLightGrey = qRgb(0xC0, 0xC0, 0xC0);
const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);

// Grooves run along both diagonals every 20 pixels: a shaded side, a black line, a lit side.
// The black lines lie on odd diagonals, so that the half-size image, which samples only
// those, keeps every one of them.
constexpr int kKeyPitch = 20;
constexpr int kGrooveU = 28; // x + y of a groove's shaded line
constexpr int kGrooveV = 4;  // x - y of a groove's lit line

int mod(int a, int m) { return ((a % m) + m) % m; }

QRgb grooveColour(int x, int y) {
    static const QRgb acrossU[] = {kGrey, kBlack, kLightGrey};
    static const QRgb acrossV[] = {kLightGrey, kBlack, kGrey};
    const int u = mod(x + y - kGrooveU, kKeyPitch);
    const int v = mod(x - y - kGrooveV, kKeyPitch);
    const QRgb a = u < 3 ? acrossU[u] : kWhite;
    const QRgb b = v < 3 ? acrossV[v] : kWhite;
    auto darkness = [](QRgb c) { return 255 - qRed(c); };
    return darkness(a) >= darkness(b) ? a : b;
}

// Small upright digits drawn on a key top, turned with it: a step right in the glyph is a step
// up and right on the key, a step down is a step down and right.
void stamp(QImage &img, int cx, int cy, std::initializer_list<const char *> rows) {
    int b = -int(rows.size()) / 2;
    for (const char *row : rows) {
        for (int a = -1; row[a + 1]; ++a) {
            if (row[a + 1] != '#')
                continue;
            const int x = cx + a + b;
            const int y = cy - a + b;
            if (img.rect().contains(x, y))
                img.setPixel(x, y, kBlack);
        }
        ++b;
    }
}

QImage drawIcon32() {
    QImage img(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            img.setPixel(x, y, grooveColour(x, y));

    // The key right of the middle one carries an upright plus.
    for (int i = 0; i < 5; ++i) {
        img.setPixel(25 + i, 13, kBlack);
        img.setPixel(27, 11 + i, kBlack);
    }
    stamp(img, 17, 22, {"###", "..#", "..#", "..#"});       // 7, on the whole middle key
    stamp(img, 7, 12, {"#.#", "#.#", "###", "..#", "..#"}); // 4
    stamp(img, 27, 28, {".#.", "##.", ".#."});              // top of a 1, cut by the edge
    stamp(img, 17, 3, {"###", "..#", "###"});               // foot of a 3, cut by the edge
    return img;
}

QImage drawIcon16(const QImage &big) {
    QImage img(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            img.setPixel(x, y, big.pixel(2 * x, 2 * y + 1));
    // Sampling drops the plus's upright stroke and thins the marks; put them back by hand.
    const struct {
        int x, y;
        QRgb c;
    } touches[] = {{13, 5, kBlack}, {13, 7, kBlack}, {12, 6, kBlack}};
    for (const auto &t : touches)
        img.setPixel(t.x, t.y, t.c);
    return img;
}

// The same keys for the desktop's larger icon sizes, drawn afresh with smooth edges rather than
// enlarged: the 32-pixel layout is the unit grid, a pixel there a square of side / 32 here.
QImage drawIconLarge(int side) {
    QImage img(side, side, QImage::Format_RGB32);
    img.fill(kWhite);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 32.0, side / 32.0);
    p.setPen(Qt::NoPen);

    // A band between two parallel diagonals: x + y from `from` to `to` when `onSum`, else x - y.
    auto band = [&](bool onSum, double from, double to, QRgb colour) {
        const double far = 64;
        const double s = onSum ? -1 : 1; // how x moves along the band as y grows
        QPolygonF quad;
        quad << QPointF(from - s * far, -far) << QPointF(from + s * far, far)
             << QPointF(to + s * far, far) << QPointF(to - s * far, -far);
        p.setBrush(QColor(colour));
        p.drawPolygon(quad);
    };
    // Each one-pixel groove line of the small image becomes a band one unit wide, centred where
    // that pixel's centre lies: at x + y + 1 on the grooves of constant x + y, at x - y on the
    // others. Darker lines are drawn over lighter ones, as where they cross in the small image.
    for (const QRgb colour : {kLightGrey, kGrey, kBlack}) {
        for (int k = -3; k <= 3; ++k) {
            const int u = kGrooveU + 1 + kKeyPitch * k; // grey, black, light grey
            const int v = kGrooveV + kKeyPitch * k;     // light grey, black, grey
            const int uStep = colour == kGrey ? 0 : colour == kBlack ? 1 : 2;
            const int vStep = colour == kLightGrey ? 0 : colour == kBlack ? 1 : 2;
            band(true, u + uStep - 0.5, u + uStep + 0.5, colour);
            band(false, v + vStep - 0.5, v + vStep + 0.5, colour);
        }
    }

    // The marks follow the small image's pixels: through their centres, a pixel wide.
    QPen pen(QColor(kBlack), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(25.5, 13.5), QPointF(29.5, 13.5)); // the upright plus
    p.drawLine(QPointF(27.5, 11.5), QPointF(27.5, 15.5));
    // The other marks stand on their keys turned with them: a step right in the glyph is a
    // step up and right here, a step down is a step down and right.
    pen.setWidthF(0.8);
    p.setPen(pen);
    auto mark = [&](int cx, int cy, std::initializer_list<QPointF> glyph) {
        QPolygonF line;
        for (const QPointF &g : glyph)
            line << QPointF(cx + g.x() + g.y() + 0.5, cy - g.x() + g.y() + 0.5);
        p.drawPolyline(line);
    };
    mark(17, 22, {{-1, -2}, {1, -2}, {1, 1}}); // 7, on the whole middle key
    mark(7, 12, {{-1, -2}, {-1, 0}, {1, 0}});  // 4
    mark(7, 12, {{1, -2}, {1, 2}});
    mark(27, 28, {{-1, 0}, {0, -1}, {0, 1}});          // top of a 1, cut by the edge
    mark(17, 3, {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}); // foot of a 3, cut by the edge
    return img;
}

// ---------------------------------------------------------------------------------------------
// Files

void writeFile(const QString &path, const QByteArray &bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw std::runtime_error("cannot write " + path.toStdString());
}

constexpr int kDotsPerMeter = 3780; // 96 dots per inch

// Uncompressed 24-bit Windows bitmap, rows bottom-up, no colour table.
QByteArray bmp24(const QImage &img) {
    const int rowBytes = (img.width() * 3 + 3) / 4 * 4;
    const quint32 pixelBytes = quint32(rowBytes * img.height());
    QByteArray out;
    auto put = [&](quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    };
    out.append("BM");
    put(54 + pixelBytes, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(quint32(img.width()), 4);
    put(quint32(img.height()), 4); // positive: bottom-up
    put(1, 2);
    put(24, 2);
    put(0, 4); // BI_RGB
    put(pixelBytes, 4);
    put(kDotsPerMeter, 4);
    put(kDotsPerMeter, 4);
    put(0, 4);
    put(0, 4);
    for (int y = img.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            row[3 * x] = char(qBlue(c));
            row[3 * x + 1] = char(qGreen(c));
            row[3 * x + 2] = char(qRed(c));
        }
        out.append(row);
    }
    return out;
}

QByteArray encodeWith(QImage img, const char *format, int quality) {
    img.setDotsPerMeterX(kDotsPerMeter);
    img.setDotsPerMeterY(kDotsPerMeter);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // JPEG at quality 100 has every quantisation step 1; the writer keeps libjpeg's
    // default sampling, colour at half resolution both ways.
    writer.setQuality(quality);
    if (!writer.write(img))
        throw std::runtime_error(writer.errorString().toStdString());
    return bytes;
}

void generate(const QDir &out) {
    Fonts fonts;
    fonts.digits = loadFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"));
    fonts.arabic =
        loadFont(QStringLiteral("/usr/share/fonts/truetype/noto/NotoSansArabic-Bold.ttf"));
    fonts.titleArabic =
        loadFont(QStringLiteral("/usr/share/fonts/truetype/noto/NotoNaskhArabic-Bold.ttf"));
    fonts.titleLatin = fonts.digits;

    writeFile(out.filePath(QStringLiteral("skin.bmp")), bmp24(drawSkin(fonts)));

    std::map<QString, QImage> faces;
    for (const Face &face : drawFaces(fonts))
        faces[QString::fromLatin1(face.file)] = drawFace(face.sign);
    // The two root-and-digit keys must carry the very same word.
    const QImage &two = faces.at(QStringLiteral("key-root2.jpg"));
    const QImage &three = faces.at(QStringLiteral("key-root3.jpg"));
    if (two.copy(15, 0, kTileW - 15, kTileH) != three.copy(15, 0, kTileW - 15, kTileH))
        throw std::runtime_error("the root word differs between the root keys");
    for (const auto &[file, img] : faces)
        writeFile(out.filePath(file), encodeWith(img, "jpeg", 100));

    const QImage icon32 = drawIcon32();
    const QImage icon16 = drawIcon16(icon32);
    QString error;
    const QByteArray ico = icowriter::encode({icon32, icon16}, &error);
    if (ico.isEmpty())
        throw std::runtime_error(error.toStdString());
    writeFile(out.filePath(QStringLiteral("icon.ico")), ico);
    writeFile(out.filePath(QStringLiteral("icon-32.png")), encodeWith(icon32, "png", -1));
    writeFile(out.filePath(QStringLiteral("icon-16.png")), encodeWith(icon16, "png", -1));
    for (const int side : {64, 128, 256})
        writeFile(out.filePath(QStringLiteral("icon-%1.png").arg(side)),
                  encodeWith(drawIconLarge(side), "png", -1));
}

} // namespace

int main(int argc, char *argv[]) {
    // Fonts need a GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: picturegen OUTPUT_DIRECTORY\n");
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "picturegen: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    try {
        generate(out);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "picturegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
