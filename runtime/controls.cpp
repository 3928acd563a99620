#include "controls.h"

#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOptionFocusRect>
#include <QTimerEvent>
#include <qdrawutil.h>

#include <cstdint>
#include <cstring>

namespace vb {

namespace {

std::uint32_t Little(const QByteArray &bytes, int at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

// Reads an uncompressed 24-bit bitmap stored bottom-up, or gives a null
// image for anything else. Qt's own reader would first load every image
// plugin to ask which one reads the file, which costs more at start-up
// than the picture itself.
QImage ReadBitmap(const QString &resource) {
    if (!resource.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        return {};
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    constexpr int headerSize = 54;
    if (bytes.size() < headerSize || !bytes.startsWith("BM") || Little(bytes, 14, 4) != 40 ||
        Little(bytes, 28, 2) != 24 || Little(bytes, 30, 4) != 0)
        return {};
    const std::uint32_t offset = Little(bytes, 10, 4);
    const auto width = std::int32_t(Little(bytes, 18, 4));
    const auto height = std::int32_t(Little(bytes, 22, 4));
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return {};
    const qsizetype stride = (qsizetype(width) * 3 + 3) / 4 * 4;
    if (offset < headerSize || qsizetype(offset) + stride * height > bytes.size())
        return {};
    QImage image(width, height, QImage::Format_BGR888);
    for (int row = 0; row < height; ++row)
        std::memcpy(image.scanLine(height - 1 - row), bytes.constData() + offset + row * stride,
                    std::size_t(width) * 3);
    return image;
}

} // namespace

QPixmap LoadPicture(const QString &resource) {
    QPixmap picture;
    if (!QPixmapCache::find(resource, &picture)) {
        const QImage bitmap = ReadBitmap(resource);
        if (bitmap.isNull())
            picture.load(resource);
        else
            picture = QPixmap::fromImage(bitmap);
        QPixmapCache::insert(resource, picture);
    }
    return picture;
}

TextBox::TextBox(QWidget *parent) : QLineEdit(parent) {}

void TextBox::SetText(const QString &text) { setText(text); }

void TextBox::SetSelText(const QString &text) {
    const QString old = this->text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? selectionLength() : 0;
    setText(old.left(start) + text + old.mid(start + length));
    setCursorPosition(start + text.size());
}

void TextBox::SetLocked(bool locked) { setReadOnly(locked); }

void TextBox::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    const int flash = QApplication::cursorFlashTime();
    caretShown_ = true;
    if (flash > 0)
        caretBlink_.start(flash / 2, this);
}

void TextBox::focusOutEvent(QFocusEvent *event) {
    // A click on a keypad button takes the focus, and Qt would drop the
    // user's selection with it; the next key must still replace it.
    const int start = selectionStart();
    const int length = selectionLength();
    const bool caretAtStart = hasSelectedText() && cursorPosition() == start;
    QLineEdit::focusOutEvent(event);
    if (length > 0) {
        if (caretAtStart)
            setSelection(start + length, -length);
        else
            setSelection(start, length);
    }
    caretBlink_.stop();
    caretShown_ = false;
    update();
}

void TextBox::paintEvent(QPaintEvent *event) {
    QLineEdit::paintEvent(event);
    // Qt draws no caret in a read-only line edit; a locked box still shows
    // where the next key goes in.
    if (!isReadOnly() || !hasFocus() || !caretShown_ || hasSelectedText())
        return;
    QPainter painter(this);
    const QRect caret = cursorRect();
    painter.fillRect(QRect(caret.center().x(), caret.top(), 1, caret.height()),
                     palette().color(QPalette::Text));
}

void TextBox::timerEvent(QTimerEvent *event) {
    if (event->timerId() != caretBlink_.timerId()) {
        QLineEdit::timerEvent(event);
        return;
    }
    caretShown_ = !caretShown_;
    if (isReadOnly())
        update();
}

Label::Label(QWidget *parent) : QLabel(parent) {}

CommandButton::CommandButton(QWidget *parent) : QPushButton(parent) {}

void CommandButton::setPicture(const QString &resource) {
    pictureName_ = resource;
    picture_ = LoadPicture(resource);
    update();
}

void CommandButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const bool down = isDown();
    const QRect face = rect();
    if (picture_.isNull()) {
        painter.fillRect(face, palette().button());
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(face.translated(down, down), Qt::AlignCenter, text());
    } else {
        const QPoint origin((width() - picture_.width()) / 2, (height() - picture_.height()) / 2);
        painter.drawPixmap(origin + QPoint(down, down), picture_);
    }
    qDrawWinButton(&painter, face, palette(), down);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

Timer::Timer(QObject *parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::Tick);
}

void Timer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    if (milliseconds > 0)
        timer_.start(milliseconds);
    else
        timer_.stop();
}

int Timer::RemainingTime() const { return timer_.isActive() ? timer_.remainingTime() : -1; }

} // namespace vb
