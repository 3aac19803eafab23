#pragma once
// A ROM folder in the test's temporary folder and a database over it whose
// hooks record what the window would see.

#include "RomDatabase.h"
#include "TestSupport.h"

#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable failures for texts.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

class RomDbFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = QDir(testsupport::tempDir()).filePath(QStringLiteral("roms"));
        QDir().mkpath(folder);
    }

    QString put(const QString &name, const QByteArray &bytes)
    {
        return testsupport::writeFile(QStringLiteral("roms/") + name, bytes);
    }

    romdb::RunHooks hooks()
    {
        romdb::RunHooks h;
        h.cancelRequested = [this] {
            ++cancelTests;
            return cancelWhen ? cancelWhen() : false;
        };
        h.doEvents = [this] {
            ++eventRuns;
            if (onEvents)
                onEvents();
        };
        h.drawProgress = [this](int32_t percent) { progress << percent; };
        h.listingChanged = [this] { ++listings; };
        return h;
    }

    QString folder;
    std::function<bool()> cancelWhen;
    std::function<void()> onEvents;
    int cancelTests = 0;
    int eventRuns = 0;
    int listings = 0;
    QList<int32_t> progress;
};
