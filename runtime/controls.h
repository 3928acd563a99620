// The controls a form is built from, with the properties the event
// procedures use. Each hides a Qt quirk the procedures must not see.
#pragma once

#include <QBasicTimer>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QString>
#include <QTimer>

namespace vb {

// A text box. Locked means the user cannot change the text, while it still
// takes the focus, shows the caret and lets the user select and copy.
class TextBox : public QLineEdit {
    Q_OBJECT
    // Above 0, a text wider than the box is drawn in a smaller size of the
    // box's face, down to this many pixels, so that it shows whole; the
    // text itself stays as it is.
    Q_PROPERTY(int smallestPixelSize READ smallestPixelSize WRITE setSmallestPixelSize)
public:
    // The most characters a box holds, Qt's own default. What the user
    // types, pastes, drops or composes into a box that it would overfill is
    // refused whole, where Qt would cut it: text, caret and selection stay.
    static constexpr int Capacity = 32767;

    explicit TextBox(QWidget *parent = nullptr);

    QString Text() const { return text(); }
    // Replaces the whole text; the caret goes to its end. The text must fit
    // the box's capacity.
    void SetText(const QString &text);
    // Puts `text` in place of the selection, or at the caret, and leaves the
    // caret after it. Works on a locked box, with or without the focus. Text
    // that would not fit the box's capacity is refused whole: the box stays
    // as it was.
    void SetSelText(const QString &text);
    void SetLocked(bool locked);
    bool Locked() const { return isReadOnly(); }

    int smallestPixelSize() const { return smallestPixelSize_; }
    void setSmallestPixelSize(int pixels);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Input the box refuses leaves the caret and selection where they were,
    // and a refused drop is ignored, so that a source moving its text keeps
    // it.
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void FitText();

    QBasicTimer caretBlink_;
    bool caretShown_ = false;
    int smallestPixelSize_ = 0;
    // While a text is fitted: the font the box draws at its own size, and
    // the one it had set before, which it gets back.
    bool fitted_ = false;
    QFont normalFont_;
    QFont ownFont_;
};

// The label that shows a caption.
class Label : public QLabel {
    Q_OBJECT
    // Above 0, a caption that would not stand whole inside the label, a
    // pixel clear of each edge, is drawn in a smaller size of the label's
    // face, down to this many pixels, and moved in from the edges. It is
    // for a plain caption on one line: no frame, indent or word wrap.
    Q_PROPERTY(int smallestPixelSize READ smallestPixelSize WRITE setSmallestPixelSize)
public:
    explicit Label(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString &caption) { setText(caption); }

    int smallestPixelSize() const { return smallestPixelSize_; }
    void setSmallestPixelSize(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int smallestPixelSize_ = 0;
};

// A command button in the graphical style: it paints its face from its
// picture when it has one, otherwise from its colour and caption.
class CommandButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString picture READ picture WRITE setPicture)
public:
    explicit CommandButton(QWidget *parent = nullptr);

    QString picture() const { return pictureName_; }
    void setPicture(const QString &resource);

protected:
    // Return and the keypad's Enter click a focused button as Space does.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPoint FaceOrigin() const;

    QString pictureName_;
    QImage picture_;
};

// The timer: no ticks while the interval is 0, and every store of a
// non-zero interval starts the count towards the next tick afresh.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject *parent = nullptr);

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    // Milliseconds until the next tick, or -1 while the timer is idle.
    int RemainingTime() const;

signals:
    void Tick();

private:
    QTimer timer_;
    int interval_ = 0;
};

} // namespace vb
