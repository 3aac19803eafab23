#pragma once
// Fixture for tests that start the main window: an install laid out in the
// test's folder (the program folder, a separate "Windows folder" and the
// fonts folder), each present or not as a test wants.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QString>

#include "Paths.h"
#include "TestSupport.h"

class MainWindowStart : public ::testing::Test {
protected:
    QString programDir, windowsDir, fontsDir;

    void SetUp() override
    {
        programDir = testsupport::tempDir() + QStringLiteral("/program");
        windowsDir = testsupport::tempDir() + QStringLiteral("/windows");
        fontsDir = testsupport::tempDir() + QStringLiteral("/fonts");
        for (const QString &d : {programDir, windowsDir, fontsDir})
            QDir().mkpath(d);
        paths::OverrideProgramFolder(programDir);
        paths::OverrideWindowsFolder(windowsDir);
        paths::OverrideFontsFolder(fontsDir);
    }
    void TearDown() override
    {
        paths::OverrideProgramFolder(QString());
        paths::OverrideWindowsFolder(QString());
        paths::OverrideFontsFolder(QString());
    }
    static void touch(const QString &path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    void installLibraryAndFont()
    {
        touch(programDir + QStringLiteral("/Zandrel.dll"));
        touch(fontsDir + QStringLiteral("/MSGOKATA.TTF"));
    }
};
