// A form: the window that owns the controls, delivers their events to the
// program's procedures, and draws its background picture and lines.
#pragma once

#include "controls.h"

#include <QAbstractButton>
#include <QImage>
#include <QLine>
#include <QWidget>

#include <functional>
#include <span>

namespace vb {

inline constexpr int TwipsPerPixel = 15;

// A line control, its two end points in twips from the client area's
// top-left corner.
struct LineControl {
    const char *name;
    int x1, y1, x2, y2;

    // The end points in pixels.
    QLine Pixels() const {
        return {x1 / TwipsPerPixel, y1 / TwipsPerPixel, x2 / TwipsPerPixel, y2 / TwipsPerPixel};
    }
};

// A click procedure of the form class F and the command button it is bound
// to, named by the member of the generated interface class Ui that holds it.
template <class F, class Ui> struct ClickBinding {
    CommandButton *Ui::*button;
    void (F::*procedure)();
};

class Form : public QWidget {
    Q_OBJECT
    // The background picture, drawn at its own size from the top-left corner.
    Q_PROPERTY(QString picture READ picture WRITE setPicture)
    // The window's icon: a picture whose images are its sizes.
    Q_PROPERTY(QString icon READ icon WRITE setIcon)
public:
    explicit Form(QWidget *parent = nullptr);

    // The form's own load event; the runtime calls it once, before the
    // form is first shown.
    virtual void Form_Load() {}

    QString picture() const { return pictureName_; }
    void setPicture(const QString &resource);
    QString icon() const { return iconName_; }
    void setIcon(const QString &resource);
    void SetLines(std::span<const LineControl> lines) { lines_ = lines; }
    std::span<const LineControl> Lines() const { return lines_; }

    // Runs one event procedure. An error that it does not handle is shown
    // in the runtime's error box, and the program ends.
    static void Run(const std::function<void()> &procedure);

protected:
    template <class F, class Ui>
    void BindClicks(const Ui &ui, std::span<const ClickBinding<F, Ui>> bindings) {
        F *self = static_cast<F *>(this);
        for (const auto &binding : bindings) {
            auto procedure = binding.procedure;
            connect(ui.*binding.button, &QAbstractButton::clicked, this,
                    [self, procedure] { Run([self, procedure] { (self->*procedure)(); }); });
        }
    }
    template <class F> void BindTick(Timer &timer, void (F::*procedure)()) {
        F *self = static_cast<F *>(this);
        connect(&timer, &Timer::Tick, this,
                [self, procedure] { Run([self, procedure] { (self->*procedure)(); }); });
    }

    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QString pictureName_;
    QImage picture_;
    QString iconName_;
    std::span<const LineControl> lines_;
};

} // namespace vb
