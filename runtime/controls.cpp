#include "controls.h"

#include "pictures.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QTimerEvent>
#include <qdrawutil.h>

namespace vb {

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

QPoint CommandButton::FaceOrigin() const {
    return {(width() - picture_.width()) / 2, (height() - picture_.height()) / 2};
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
        painter.drawImage(FaceOrigin() + QPoint(down, down), picture_);
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
