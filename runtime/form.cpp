#include "form.h"

#include "numeric.h"
#include "pictures.h"
#include "services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cstdlib>

namespace vb {

Form::Form(QWidget *parent) : QWidget(parent) {
    // A fixed frame: nothing lays the controls out again, so there is no
    // maximise box, and the form's equal minimum and maximum size keep the
    // window manager from resizing it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

void Form::setPicture(const QString &resource) {
    pictureName_ = resource;
    picture_ = LoadPicture(resource);
    update();
}

void Form::setIcon(const QString &resource) {
    iconName_ = resource;
    QIcon icon;
    for (const QImage &image : LoadPictures(resource))
        icon.addPixmap(QPixmap::fromImage(image));
    setWindowIcon(icon);
}

void Form::paintEvent(QPaintEvent *event) {
    QPainter painter(this);
    // One rectangle of the region at a time: clipped to a region of several,
    // Qt would blend the picture on a pool of threads of its own, in a
    // program that otherwise paints on one.
    for (const QRect &area : event->region()) {
        painter.setClipRect(area);
        painter.drawImage(area.topLeft(), picture_, area);
    }
    painter.setClipping(false);
    // Lines are 1 pixel wide and black, whatever the desktop's colours: the
    // background picture they are drawn over is the same everywhere. As on
    // Windows, a line covers its first end point and not its last. Most
    // repaints are of a changed box, where no line runs.
    for (const LineControl &line : lines_) {
        const QPoint from = line.Pixels().p1();
        const QPoint to = line.Pixels().p2();
        if (!event->region().intersects(QRect(from, QSize(1, 1)).united(QRect(to, QSize(1, 1)))))
            continue;
        const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        for (int step = 0; step < steps; ++step) {
            const QPointF at = QPointF(from) + QPointF(to - from) * step / steps;
            painter.fillRect(QRect(at.toPoint(), QSize(1, 1)), Qt::black);
        }
    }
}

void Form::closeEvent(QCloseEvent *event) {
    event->accept();
    vbaEnd();
}

void Form::Run(const std::function<void()> &procedure) {
    QString message;
    int number = 0;
    try {
        procedure();
        return;
    } catch (const RuntimeError &error) {
        number = static_cast<int>(error.code());
        message = QString::fromUtf8(error.what());
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                    QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(message),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
    vbaEnd();
}

} // namespace vb
