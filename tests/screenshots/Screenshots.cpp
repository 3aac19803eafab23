// zandrel-screenshots <folder>: writes pictures of windows into the folder,
// for a person to look at (a window's look is not something a test can
// judge). It works offscreen, on a settings store and files of its own that
// it removes again, and never shows a message box or a dialog.

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <utility>

#include "CommonDialog.h"
#include "ControllerPicture.h"
#include "FileDialog.h"
#include "Forms.h"
#include "HelpTopics.h"
#include "ImageControl.h"
#include "MainWindowState.h"
#include "MsgBox.h"
#include "Paths.h"
#include "ProgressWindow.h"
#include "SaveFile.h"
#include "SettingsRecord.h"
#include "SettingsStore.h"
#include "TilePalette.h"
#include "frmAbout.h"
#include "frmControlConfig.h"
#include "frmHelp.h"
#include "frmKeyCapture.h"
#include "frmLoadPal.h"
#include "frmOptions.h"
#include "frmPalette.h"
#include "frmSelectDir.h"

namespace {

// Where the pictures go, and the files the windows are shown with.
struct Session {
    QString output;
    QString work;
    bool failed = false;

    void save(const QPixmap &picture, const QString &name)
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        const QString path = paths::AppendFileToDir(output, name + QStringLiteral(".png"));
        if (const auto error = savefile::SaveWhole(path, png)) {
            std::fprintf(stderr, "zandrel-screenshots: %s: %s\n", qPrintable(path), qPrintable(error->reason));
            failed = true;
        }
    }
    void shoot(QWidget &window, const QString &name)
    {
        window.show();
        QCoreApplication::processEvents();
        save(window.grab(), name);
    }
    // A folder in the work folder, with the given empty files.
    QString folderWith(const QString &name, const QStringList &files = {}) const
    {
        const QString folder = paths::AppendFileToDir(work, name);
        QDir().mkpath(folder);
        for (const QString &file : files)
            savefile::SaveWhole(paths::AppendFileToDir(folder, file), QByteArray());
        return folder;
    }
};

void pointAt(QWidget *widget)
{
    const QPointF middle(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, middle, widget->mapToGlobal(middle), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void aboutBox(Session &session)
{
    frmAbout about;
    about.load();
    session.shoot(about, QStringLiteral("frmAbout"));
    pointAt(about.imgVBControl);
    session.shoot(about, QStringLiteral("frmAbout-lit"));
    session.save(controllerpicture::controller(false).render(4), QStringLiteral("controller-x4"));
    session.save(controllerpicture::controller(true).render(4), QStringLiteral("controller-lit-x4"));
}

void optionsDialog(Session &session)
{
    SettingsRecord record = SettingsRecord::Defaults();
    record.BaseDirectory = session.folderWith(QStringLiteral("roms"), {QStringLiteral("Game.VB")});
    record.write();
    settings::Save(QStringLiteral("Reality Boy Enabled"), QStringLiteral("True"));
    settings::Save(QStringLiteral("VB Main Menu Theme"), QStringLiteral("True"));
    settings::Save(QStringLiteral("Rename ROMs"), QStringLiteral("1"));
    settings::Save(QStringLiteral("Reality Boy Directory"),
                   QStringLiteral("/home/someone/.wine/drive_c/Program Files/Reality Boy 0.84"));
    frmOptions dialog;
    dialog.load();
    session.shoot(dialog, QStringLiteral("frmOptions"));
}

void keyWindows(Session &session)
{
    const std::pair<QString, QString> emulators[] = {{QStringLiteral("Reality Boy"), QStringLiteral("RealityBoy")},
                                                     {QStringLiteral("Virtual-E"), QStringLiteral("VirtualE")}};
    for (const auto &[emulator, picture] : emulators) {
        mainwindow::Tag() = emulator;
        frmControlConfig dialog;
        dialog.load();
        session.shoot(dialog, QStringLiteral("frmControlConfig-") + picture);
    }
    mainwindow::Tag() = QStringLiteral("Virtual-E");
    frmKeyCapture capture;
    capture.load();
    session.shoot(capture, QStringLiteral("frmKeyCapture"));
}

void helpViewer(Session &session)
{
    QPlainTextEdit collected(QStringLiteral("Collected Virtual Boy ROMs\r\n==========================\r\n\r\n"
                                            "3-D Tetris (U) [!]                                   "
                                            "a long line that scrolls sideways\r\n"));
    help::RegisterSource(QStringLiteral("ROM DB Have"), &collected);
    for (const QString &key : {QStringLiteral("ROM ID Codes"), QStringLiteral("ROM DB Have")}) {
        mainwindow::Tag() = key;
        frmHelp viewer;
        viewer.load();
        session.shoot(viewer, QStringLiteral("frmHelp-") + QString(key).replace(QLatin1Char(' '), QLatin1Char('-')));
    }
}

void folderPicker(Session &session)
{
    for (const QString &sub : {QStringLiteral("roms/zeta"), QStringLiteral("roms/Alpha"), QStringLiteral("roms/.wine")})
        session.folderWith(sub);
    mainwindow::Tag() = paths::AppendFileToDir(session.work, QStringLiteral("roms"));
    frmSelectDir picker;
    picker.load();
    session.shoot(picker, QStringLiteral("frmSelectDir"));
}

void paletteWindows(Session &session)
{
    tilepalette::Save(tilepalette::kVbPalette);
    frmPalette editor;
    editor.load();
    session.shoot(editor, QStringLiteral("frmPalette"));
    frmLoadPal loader(editor.paletteBoxes());
    loader.load();
    session.shoot(loader, QStringLiteral("frmLoadPal"));
}

void sharedWindows(Session &session)
{
    // A folder deep enough that its path is wider than the dialog.
    QString deep = QStringLiteral("roms");
    for (int level = 1; level <= 12; ++level)
        deep += QStringLiteral("/a folder of level %1").arg(level);
    const QString folder = session.folderWith(deep, {QStringLiteral("Game.vb"), QStringLiteral("notes.txt")});
    commondialog::FileDialog dialog(commondialog::Kind::Open,
                                    QStringLiteral("Virtual Boy ROM Image (*.vb)|*.vb|All Files (*.*)|*.*"), folder,
                                    QString());
    session.shoot(dialog, QStringLiteral("FileDialog-deep-folder"));
    forms::ProgressWindow progress(QStringLiteral("Starting the program"),
                                   QStringLiteral("Handing the settings to wine\u2026"));
    session.shoot(progress, QStringLiteral("ProgressWindow"));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zandrel-screenshots <folder>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows read and write settings: a store of our own, never the user's.
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/zandrel-screenshots-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", QDir(work.path()).filePath(QStringLiteral("config")).toUtf8());
    QApplication app(argc, argv);

    Session session{paths::DecodeFileName(argv[1]), work.path()};
    if (::mkdir(argv[1], 0777) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "zandrel-screenshots: %s: %s\n", argv[1], qPrintable(savefile::ErrorText(errno)));
        return 1;
    }
    msgbox::SetResponder([](const msgbox::Call &call) { return msgbox::DefaultAnswer(call.style); });
    commondialog::SetResponder([](const commondialog::Request &) { return std::nullopt; });
    forms::SetModalHandler([](forms::Form &) {});

    aboutBox(session);
    optionsDialog(session);
    keyWindows(session);
    helpViewer(session);
    folderPicker(session);
    paletteWindows(session);
    sharedWindows(session);
    return session.failed ? 1 : 0;
}
