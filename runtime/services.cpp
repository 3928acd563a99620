#include "services.h"

#include "fonts.h"
#include "form.h"
#include "numeric.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

namespace vb {

namespace {

std::function<void()> &EndHandler() {
    static std::function<void()> handler;
    return handler;
}

bool ended = false;

} // namespace

int ThunRTMain(const ProjectHeader &header) {
    // The program reads no command line: Qt sees only the program's name.
    static QByteArray name(header.executable);
    static char *argv[] = {name.data(), nullptr};
    static int argc = 1;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(header.name));
    return RunStartForm(header);
}

std::unique_ptr<Form> StartForm(const ProjectHeader &header) {
    ended = false;
    InstallFonts(*header.fonts);
    std::unique_ptr<Form> form = header.createStartForm();
    Form::Run([&form] { form->Form_Load(); });
    if (ended)
        return nullptr;
    form->show();
    return form;
}

int RunStartForm(const ProjectHeader &header) {
    const std::unique_ptr<Form> form = StartForm(header);
    return form ? QApplication::exec() : 0;
}

void vbaEnd() {
    if (EndHandler()) {
        EndHandler()();
        return;
    }
    ended = true;
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

void SetEndHandler(std::function<void()> handler) { EndHandler() = std::move(handler); }

int rtcMsgBox(const QString &prompt, int buttons, const QString &title) {
    if (buttons != 0)
        throw RuntimeError(ErrorCode::InvalidProcedureCall, "Invalid procedure call or argument");
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return 1;
}

void rtcShell(const QString &commandLine, int windowStyle) {
    static const QString urlHandler = QString::fromUtf16(UrlHandlerCommand);
    if (!commandLine.startsWith(urlHandler))
        throw RuntimeError(ErrorCode::FileNotFound, "File not found");
    // The opener has no say in the window style: it asks the desktop, which
    // shows the browser normally and focused.
    (void)windowStyle;
    const QString address = commandLine.mid(urlHandler.size());
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return;
    // Started directly, never through a shell, so the address is one
    // argument whatever characters it holds.
    QProcess::startDetached(opener, {address});
}

} // namespace vb
