#include "controls.h"

#include "pictures.h"

#include <QApplication>
#include <QCache>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>
#include <QTimerEvent>
#include <QValidator>
#include <qdrawutil.h>

#include <cmath>
#include <memory>

namespace vb {

void DrawButtonFrame(QPainter &painter, const QRect &rect, const QPalette &palette, bool down) {
    // Scaled, the classic lines are one device pixel wide, not one unit.
    if (painter.device()->devicePixelRatio() != 1) {
        qDrawWinButton(&painter, rect, palette, down);
        return;
    }
    const int x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    if (w < 2 || h < 2)
        return;
    const QColor light = palette.color(QPalette::Light);
    const QColor shadow = palette.color(QPalette::Shadow);
    const QColor button = palette.color(QPalette::Button);
    const QColor dark = palette.color(QPalette::Dark);
    const QColor &outerTopLeft = down ? shadow : light;
    const QColor &outerBottomRight = down ? light : shadow;
    const QColor &innerTopLeft = down ? dark : button;
    const QColor &innerBottomRight = down ? button : dark;
    painter.fillRect(x, y, 1, h - 1, outerTopLeft);
    painter.fillRect(x, y, w - 1, 1, outerTopLeft);
    painter.fillRect(x, y + h - 1, w, 1, outerBottomRight);
    painter.fillRect(x + w - 1, y, 1, h, outerBottomRight);
    if (w <= 4 || h <= 4)
        return;
    painter.fillRect(x + 1, y + 1, 1, h - 3, innerTopLeft);
    painter.fillRect(x + 1, y + 1, w - 3, 1, innerTopLeft);
    painter.fillRect(x + 1, y + h - 2, w - 2, 1, innerBottomRight);
    painter.fillRect(x + w - 2, y + 1, 1, h - 2, innerBottomRight);
}

namespace {

// Draws a text box's panel from a picture of it made once per size and
// state. The desktop style strokes its smoothed, rounded frame afresh each
// time, and the boxes repaint on most clicks.
class PanelStyle : public QProxyStyle {
public:
    explicit PanelStyle(QObject *parent) { setParent(parent); }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override {
        const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
        if (element != PE_PanelLineEdit || !frame) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // A stored panel drawn at a fraction of a device pixel would be
        // resampled and blur: there the style draws it afresh.
        const qreal ratio = painter->device()->devicePixelRatio();
        const QTransform &toDevice = painter->deviceTransform();
        const QPointF at = toDevice.map(QPointF(frame->rect.topLeft()));
        if (toDevice.type() > QTransform::TxScale || toDevice.m11() != ratio ||
            toDevice.m22() != ratio || ratio != std::floor(ratio) || at != QPointF(at.toPoint())) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const Key key{frame->rect.width(),      frame->rect.height(), uint(frame->state),
                      frame->direction,         frame->lineWidth,     ratio,
                      frame->palette.cacheKey()};
        const QImage *panel = panels_.object(key);
        if (!panel) {
            auto drawn = std::make_unique<QImage>((QSizeF(frame->rect.size()) * ratio).toSize(),
                                                  QImage::Format_ARGB32_Premultiplied);
            drawn->setDevicePixelRatio(ratio);
            drawn->fill(Qt::transparent);
            QStyleOptionFrame atOrigin = *frame;
            atOrigin.rect.moveTopLeft(QPoint(0, 0));
            QPainter onPanel(drawn.get());
            QProxyStyle::drawPrimitive(element, &atOrigin, &onPanel, widget);
            onPanel.end();
            panel = drawn.get();
            panels_.insert(key, drawn.release());
        }
        painter->drawImage(frame->rect.topLeft(), *panel);
    }

    static QStyle *Instance() {
        static QPointer<PanelStyle> style;
        if (!style)
            style = new PanelStyle(QCoreApplication::instance());
        return style;
    }

private:
    struct Key {
        int width, height;
        uint state;
        Qt::LayoutDirection direction;
        int lineWidth;
        qreal ratio;
        qint64 palette;
        bool operator==(const Key &) const = default;
        friend size_t qHash(const Key &key, size_t seed = 0) {
            return qHashMulti(seed, key.width, key.height, key.state, key.direction, key.lineWidth,
                              key.ratio, key.palette);
        }
    };
    mutable QCache<Key, QImage> panels_{32};
};

} // namespace

namespace {

// Qt's line edit takes back, whole, an edit of the user's that leaves its
// text invalid: the text, the caret and the selection return to what they
// were, however the text came in. A valid text is never changed.
class CapacityValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        return input.size() <= TextBox::Capacity ? Acceptable : Invalid;
    }
};

// Notes the caret and selection before Qt handles an event that may put
// text in, and whether the capacity refuses that text.
class RefusalWatch {
public:
    explicit RefusalWatch(QLineEdit *box)
        : box_(box), caret_(box->cursorPosition()), start_(box->selectionStart()),
          length_(box->selectionLength()) {
        // Qt says so when it cuts the text and when the validator refuses it.
        connection_ =
            QObject::connect(box, &QLineEdit::inputRejected, box, [this] { refused_ = true; });
    }
    ~RefusalWatch() { QObject::disconnect(connection_); }
    RefusalWatch(const RefusalWatch &) = delete;
    RefusalWatch &operator=(const RefusalWatch &) = delete;

    // Whether the text was refused; if so, puts back the caret and the
    // selection that Qt moved before it inserted.
    bool RestoreIfRefused() {
        if (!refused_)
            return false;
        if (length_ == 0)
            box_->setCursorPosition(caret_);
        else if (caret_ == start_)
            box_->setSelection(start_ + length_, -length_);
        else
            box_->setSelection(start_, length_);
        return true;
    }

private:
    QLineEdit *box_;
    int caret_, start_, length_;
    bool refused_ = false;
    QMetaObject::Connection connection_;
};

} // namespace

TextBox::TextBox(QWidget *parent) : QLineEdit(parent) {
    setStyle(PanelStyle::Instance());
    // Qt cuts what goes past its own limit before the validator sees the
    // text. One character past the capacity is enough for the validator to
    // refuse the edit, and keeps a huge paste from being put in whole first.
    setMaxLength(Capacity + 1);
    setValidator(new CapacityValidator(this));
}

void TextBox::SetText(const QString &text) {
    // No result comes near the capacity.
    Q_ASSERT_X(text.size() <= Capacity, "vb::TextBox::SetText", "text longer than the box holds");
    setText(text);
}

void TextBox::SetSelText(const QString &text) {
    const QString old = this->text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? selectionLength() : 0;
    // A whole-text write passes no validator: the refusal is made here.
    if (old.size() - length + text.size() > Capacity)
        return;
    setText(old.left(start) + text + old.mid(start + length));
    setCursorPosition(start + text.size());
}

void TextBox::SetLocked(bool locked) { setReadOnly(locked); }

void TextBox::focusInEvent(QFocusEvent *event) {
    // Qt selects the whole text when the focus comes by Tab or Shift+Tab;
    // the caret and the selection are the user's and stay as they were.
    QFocusEvent plain(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(event->reason() == Qt::MouseFocusReason ? event : &plain);
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

void TextBox::inputMethodEvent(QInputMethodEvent *event) {
    // Qt selects the text an input method replaces before it inserts.
    RefusalWatch watch(this);
    QLineEdit::inputMethodEvent(event);
    // Moving the caret would end a composition still under way.
    if (event->preeditString().isEmpty())
        watch.RestoreIfRefused();
}

void TextBox::dropEvent(QDropEvent *event) {
    // Qt moves the caret to the drop point and accepts the drop before the
    // text is refused.
    RefusalWatch watch(this);
    QLineEdit::dropEvent(event);
    if (watch.RestoreIfRefused()) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
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

namespace {

bool IsEnterKey(const QKeyEvent *event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// The same key event with Space in place of the key: the button goes down on
// the press and clicks once on the release, and the key's auto-repeat adds
// no click.
QKeyEvent AsSpace(const QKeyEvent *event) {
    return QKeyEvent(event->type(), Qt::Key_Space, event->modifiers() & ~Qt::KeypadModifier,
                     QStringLiteral(" "), event->isAutoRepeat(), ushort(event->count()));
}

} // namespace

void CommandButton::keyPressEvent(QKeyEvent *event) {
    if (!IsEnterKey(event)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    QKeyEvent space = AsSpace(event);
    QPushButton::keyPressEvent(&space);
    event->setAccepted(space.isAccepted());
}

void CommandButton::keyReleaseEvent(QKeyEvent *event) {
    if (!IsEnterKey(event)) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    QKeyEvent space = AsSpace(event);
    QPushButton::keyReleaseEvent(&space);
    event->setAccepted(space.isAccepted());
}

void CommandButton::setPicture(const QString &resource) {
    pictureName_ = resource;
    picture_ = LoadPicture(resource);
    UpdateOpaque();
    update();
}

void CommandButton::resizeEvent(QResizeEvent *event) {
    QPushButton::resizeEvent(event);
    UpdateOpaque();
}

void CommandButton::changeEvent(QEvent *event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        UpdateOpaque();
}

QPoint CommandButton::FaceOrigin() const {
    return {(width() - picture_.width()) / 2, (height() - picture_.height()) / 2};
}

void CommandButton::UpdateOpaque() {
    // When the button paints every one of its pixels, Qt need not paint the
    // form beneath it first, on every press and release. The frame covers a
    // ring two pixels deep; inside it the colour or the picture, raised or
    // pressed in.
    const QRect inside = rect().adjusted(2, 2, -2, -2);
    const QRect face(FaceOrigin(), picture_.size());
    const bool covered = picture_.isNull() ? palette().button().isOpaque()
                                           : !picture_.hasAlphaChannel() && face.contains(inside) &&
                                                 face.translated(1, 1).contains(inside);
    setAttribute(Qt::WA_OpaquePaintEvent, covered);
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
    DrawButtonFrame(painter, face, palette(), down);
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
