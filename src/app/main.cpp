#include "core/program/About.h"
#include "core/program/AppContext.h"
#include "core/program/CommandLine.h"
#include "core/program/Startup.h"
#include "core/sync/SyncScheduler.h"
#include "core/system/Clock.h"
#include "core/system/ProgramPaths.h"
#include "core/system/SingleInstance.h"
#include "core/view/FontSettings.h"
#include "gui/calendar/frmMain.h"
#include "gui/common/AccessibleMenus.h"
#include "gui/common/DialogPrompts.h"
#include "gui/common/Help.h"
#include "gui/common/QtTranslations.h"
#include "gui/remind/Reminders.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>

namespace {

void Print(const QString &text, std::FILE *stream) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[]) {
    // --help and --version are answered before a display is needed and before any file is touched.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    switch (ReadCommandLine(arguments).kind) {
    case CommandLineRequest::Kind::Help:
        Print(CalendarHelpText(), stdout);
        return 0;
    case CommandLineRequest::Kind::Version:
        Print(VersionText(QStringLiteral("tsukiban")), stdout);
        return 0;
    default:
        break;
    }
    // The window places itself and shapes itself as X11 allows; under Wayland it runs through XWayland. An explicit
    // QT_QPA_PLATFORM always wins.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            qputenv("QT_QPA_PLATFORM", "xcb");
        } else if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            std::fputs("tsukiban: デスクトップセッションが必要です（DISPLAY も WAYLAND_DISPLAY もありません）\n",
                       stderr);
            return 1;
        }
    }
    // Shared-memory images make Qt wait for the X server after every paint; the calendar's paints are small (a clock
    // label each second), and plain image requests need no round trip.
    if (qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    // What is left once Qt has taken its own options.
    const CommandLineRequest request = ReadCommandLine(app.arguments().mid(1));
    if (request.kind == CommandLineRequest::Kind::Error) {
        Print(request.message + u'\n', stderr);
        return 2;
    }
    InstallAccessibleMenus();
    // The X window class: task lists that group windows by class show it as the program's name. The instance stays
    // "tsukiban", the name of the executable.
    app.setApplicationName(ApplicationTitle());
    app.setQuitOnLastWindowClosed(false);
    app.setWindowIcon(QIcon(QStringLiteral(":/icons/tsukiban.svg")));
    const std::unique_ptr<QTranslator> qtTexts = QtTranslations(QLocale::system());
    if (qtTexts) app.installTranslator(qtTexts.get());

    DialogPrompts prompts;
    const ProgramPaths paths = ProgramPaths::forFolder(QCoreApplication::applicationDirPath());
    SingleInstance instance(paths.dataFolder);
    if (!instance.tryAcquire()) {
        prompts.information(QStringLiteral("既に起動しています！"));
        return 0;
    }

    SystemClock clock;
    AppContext ctx(paths, prompts, clock);
    if (RunStartup(ctx) == StartupOutcome::Stop) return 0;

    InstallFontSubstitutions();
    app.installEventFilter(new HelpKey(ctx, &app));
    ctx.startSync();
    frmMain window(ctx);
    window.show();
    Reminders reminders(ctx, QDBusConnection::sessionBus());
    reminders.attachTo(window);
    reminders.start();
    // The first sync once the calendar is up: a question for the password finds its window.
    QTimer::singleShot(0, ctx.syncScheduler(), &SyncScheduler::begin);
    return app.exec();
}
