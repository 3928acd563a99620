#include "controls.h"

#include "pictures.h"

#include <QApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionFrame>
#include <QTimerEvent>
#include <QValidator>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace vb {

namespace {

// Qt pads a line edit's text by two pixels on either side, inside the
// frame, and keeps a pixel after the text for the caret. A fitted text
// takes that padding back: negative margins give it the frame's inside but
// for a pixel at either end, so that a minus sign does not merge with the
// frame. Right-aligned, Qt leaves one more pixel at the right end.
constexpr int LineEditPadding = 2;
const QMargins FittedMargins(-LineEditPadding + 1, 0, -LineEditPadding, 0);
const QMargins FittedMarginsRightAligned(-LineEditPadding + 1, 0, -LineEditPadding - 1, 0);

// The most the characters of a text at the smallest size are drawn closer
// together, in pixels each: at 7 pixels, a tenth of the gap between digits.
constexpr qreal TightestSpacing = 0.15;

struct Fit {
    int pixels = 0; // none: the box's own size
    qreal spacing = 0;
};

// The largest pixel size from `largest` down to `smallest` at which `text`
// is at most `room` pixels wide; at the smallest size, its characters may
// stand a little closer. `width` is the text's width at `largest`.
Fit FitWidth(const QFont &font, const QString &text, qreal width, int largest, int smallest,
             int room) {
    const auto widthAt = [&](int pixels, qreal spacing = 0) {
        if (pixels == largest && spacing == 0)
            return width;
        QFont sized = font;
        sized.setPixelSize(pixels);
        if (spacing != 0)
            sized.setLetterSpacing(QFont::AbsoluteSpacing, -spacing);
        return QFontMetricsF(sized).horizontalAdvance(text);
    };
    // Widths grow about as the size does; hinting bends that a little, so the
    // guess is checked and moved a size at a time. A text the guess puts well
    // below the floor is not measured again, and one just below it only at
    // the floor.
    const qreal guess = largest * room / width;
    if (guess < smallest * 0.85)
        return {};
    int pixels = std::clamp(int(guess), smallest, largest);
    qreal measured = widthAt(pixels);
    if (qRound(measured) <= room) {
        while (pixels < largest && qRound(widthAt(pixels + 1)) <= room)
            ++pixels;
        return {pixels};
    }
    while (pixels > smallest) {
        measured = widthAt(--pixels);
        if (qRound(measured) <= room)
            return {pixels};
    }
    // Too wide at the floor by `measured - room` pixels.
    const qreal spacing = std::ceil((measured - room) / text.size() * 100) / 100;
    if (spacing <= TightestSpacing && qRound(widthAt(smallest, spacing)) <= room)
        return {smallest, spacing};
    return {};
}

// Puts back a caret, or a selection with the caret at the end it was at.
void Reselect(QLineEdit *box, int caret, int start, int length) {
    if (length == 0)
        box->setCursorPosition(caret);
    else if (caret == start)
        box->setSelection(start + length, -length);
    else
        box->setSelection(start, length);
}

// Qt's line edit takes back, whole, an edit of the user's that leaves its
// text invalid. After a typed key or a paste the caret and the selection
// return too; a drop or an input method moves them first (RefusalWatch).
// A valid text is never changed.
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
        if (refused_)
            Reselect(box_, caret_, start_, length_);
        return refused_;
    }

private:
    QLineEdit *box_;
    int caret_, start_, length_;
    bool refused_ = false;
    QMetaObject::Connection connection_;
};

} // namespace

TextBox::TextBox(QWidget *parent) : QLineEdit(parent) {
    // Qt cuts what goes past its own limit before the validator sees the
    // text. One character past the capacity is enough for the validator to
    // refuse the edit, and keeps a huge paste from being put in whole first.
    setMaxLength(Capacity + 1);
    setValidator(new CapacityValidator(this));
    connect(this, &QLineEdit::textChanged, this, &TextBox::FitText);
}

void TextBox::setSmallestPixelSize(int pixels) {
    smallestPixelSize_ = pixels;
    FitText();
}

void TextBox::FitText() {
    // The box's own size and margins, unless a text wider than the box
    // shows whole at a smaller size. The caret, the selection and the mouse
    // go on mapping to the text, since the line edit itself lays it out in
    // the smaller font.
    Fit fit;
    const QString shown = displayText();
    if (smallestPixelSize_ > 0 && !shown.isEmpty()) {
        QStyleOptionFrame option;
        initStyleOption(&option);
        const int inside =
            style()->subElementRect(QStyle::SE_LineEditContents, &option, this).width();
        // More characters than the frame has pixels across cannot be read
        // at any size; such a text, however long, is not measured at all.
        if (shown.size() < inside) {
            const QFont normal = fitted_ ? normalFont_ : font();
            const qreal width = QFontMetricsF(normal).horizontalAdvance(shown);
            if (qRound(width) + 1 > inside - 2 * LineEditPadding) {
                const int largest =
                    normal.pixelSize() > 0 ? normal.pixelSize() : QFontInfo(normal).pixelSize();
                fit = FitWidth(normal, shown, width, largest, std::min(smallestPixelSize_, largest),
                               inside - 2);
            }
        }
    }
    if (fit.pixels == 0) {
        // Fits as it is, or not even at the smallest size: there the box
        // scrolls to the caret at its own size, which reads best.
        if (fitted_) {
            fitted_ = false;
            setTextMargins(QMargins());
            setFont(ownFont_);
        }
        return;
    }
    if (!fitted_) {
        fitted_ = true;
        normalFont_ = font();
        ownFont_ = testAttribute(Qt::WA_SetFont) ? font() : QFont();
    }
    const bool rightAligned =
        QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignRight;
    const QMargins margins = rightAligned ? FittedMarginsRightAligned : FittedMargins;
    if (textMargins() != margins)
        setTextMargins(margins);
    QFont sized = normalFont_;
    sized.setPixelSize(fit.pixels);
    if (fit.spacing != 0)
        sized.setLetterSpacing(QFont::AbsoluteSpacing, -fit.spacing);
    if (font() != sized)
        setFont(sized);
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
    const int caret = cursorPosition();
    const int start = selectionStart();
    const int length = selectionLength();
    QLineEdit::focusOutEvent(event);
    if (length > 0)
        Reselect(this, caret, start, length);
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
    // Where an editable box draws it: Qt's caret rectangle reaches 5 pixels
    // before that column and 4 after. A text fitted to the box starts at the
    // frame's inside edge, and the caret before it must not cover the frame.
    // The caret is as tall as the face's line, which may be taller than the
    // box's inside: it is cut where the frame and its focus ring begin, two
    // pixels in.
    const QRect caret = cursorRect();
    const QRect inside = rect().adjusted(0, 2, 0, -2);
    painter.fillRect(QRect(caret.left() + 5, caret.top(), 1, caret.height()).intersected(inside),
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

void Label::setSmallestPixelSize(int pixels) {
    smallestPixelSize_ = pixels;
    update();
}

void Label::paintEvent(QPaintEvent *event) {
    const QString caption = text();
    if (smallestPixelSize_ <= 0 || caption.isEmpty() || textFormat() == Qt::RichText) {
        QLabel::paintEvent(event);
        return;
    }
    // The caption's ink must stand a pixel clear of every edge. Some
    // glyphs reach past the line's own box (the hamza of أ above it, the
    // tail of ر to the left), so the ink is placed, not the line.
    const QRect contents = contentsRect();
    const QRectF room = QRectF(contents).adjusted(1, 1, -1, -1);
    const QFont normal = font();
    const int largest = QFontInfo(normal).pixelSize();
    const int smallest = std::min(smallestPixelSize_, largest);
    QFont sized = normal;
    QRectF ink;
    for (int pixels = largest; pixels >= smallest; --pixels) {
        sized.setPixelSize(pixels);
        ink = QFontMetricsF(sized).tightBoundingRect(caption);
        if (ink.width() <= room.width() && ink.height() <= room.height())
            break;
    }
    // Where the label's alignment puts the line, on whole pixels, then moved
    // in from any edge the ink would cross.
    const QFontMetricsF metrics(sized);
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    const qreal advance = metrics.horizontalAdvance(caption);
    qreal x = contents.left() + (contents.width() - advance) / 2;
    if (align & Qt::AlignLeft)
        x = contents.left();
    else if (align & Qt::AlignRight)
        x = contents.left() + contents.width() - advance;
    qreal y = contents.top() + (contents.height() - metrics.height()) / 2 + metrics.ascent();
    if (align & Qt::AlignTop)
        y = contents.top() + metrics.ascent();
    else if (align & Qt::AlignBottom)
        y = contents.top() + contents.height() - metrics.descent();
    QPointF origin(qRound(x), qRound(y));
    const QRectF placed = ink.translated(origin);
    const auto inward = [](qreal low, qreal high, qreal roomLow, qreal roomHigh) -> qreal {
        if (high - low > roomHigh - roomLow)
            return std::round((roomLow + roomHigh - low - high) / 2);
        if (low < roomLow)
            return std::ceil(roomLow - low);
        if (high > roomHigh)
            return -std::ceil(high - roomHigh);
        return 0;
    };
    origin += QPointF(inward(placed.left(), placed.right(), room.left(), room.right()),
                      inward(placed.top(), placed.bottom(), room.top(), room.bottom()));
    QPainter painter(this);
    painter.setFont(sized);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(origin, caption);
}

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
