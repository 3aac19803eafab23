#pragma once
// What the front-end window tests share: images built to order, the
// recent-ROM list seeded and read back, the shared dialog answered, and the
// process-wide mailbox and dialog reset.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

class QComboBox;

// Failures show texts, not code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace frontendtest {

// An image of `length` bytes whose five reserved header bytes are zero, or
// not when `valid` is false.
QByteArray image(int length = 1024, bool valid = true);
// Writes an image into the test's folder and returns its path.
QString writeRom(const QString &name, const QByteArray &bytes = image());

class FrontendForm : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Seeds the stored recent list and its count.
    static void storeRecent(const QStringList &entries, int count = 4);
    static QStringList storedRecent();
    // The drop-down's rows, placeholder first.
    static QStringList rows(const QComboBox *combo);
    // A folder of the test for an emulator.
    static QString emulatorFolder(const QString &name);
};

} // namespace frontendtest
