// The controls a form is built from, with the properties the event
// procedures use. Each hides a Qt quirk the procedures must not see.
#pragma once

#include <QBasicTimer>
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
public:
    explicit TextBox(QWidget *parent = nullptr);

    QString Text() const { return text(); }
    // Replaces the whole text; the caret goes to its end.
    void SetText(const QString &text);
    // Puts `text` in place of the selection, or at the caret, and leaves the
    // caret after it. Works on a locked box, with or without the focus.
    void SetSelText(const QString &text);
    void SetLocked(bool locked);
    bool Locked() const { return isReadOnly(); }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    QBasicTimer caretBlink_;
    bool caretShown_ = false;
};

// The label that shows a caption.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget *parent = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString &caption) { setText(caption); }
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
