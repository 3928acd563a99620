#include "form.h"

#include "numeric.h"
#include "services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPixmapCache>

namespace vb {

Form::Form(QWidget *parent) : QWidget(parent) {}

void Form::SetPicture(const QString &resource) {
    if (!QPixmapCache::find(resource, &picture_)) {
        picture_.load(resource);
        QPixmapCache::insert(resource, picture_);
    }
    update();
}

void Form::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    if (!picture_.isNull())
        painter.drawPixmap(0, 0, picture_);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
    for (const LineControl &line : lines_)
        painter.drawLine(line.x1 / TwipsPerPixel, line.y1 / TwipsPerPixel, line.x2 / TwipsPerPixel,
                         line.y2 / TwipsPerPixel);
}

void Form::closeEvent(QCloseEvent *event) {
    event->accept();
    vbaEnd();
}

QAbstractButton *Form::Button(const char *name) const {
    auto *button = findChild<QAbstractButton *>(QString::fromLatin1(name));
    Q_ASSERT_X(button, "vb::Form", "an event is bound to a control that the form lacks");
    return button;
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
