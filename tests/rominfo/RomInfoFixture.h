#pragma once
// What the form tests share: images built to order, a window loaded with the
// test's settings, and the process-wide mailbox and dialog reset.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "KnownRomTable.h"

#include <ostream>

class frmRomInfo;

// Failures show texts, not code units.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace rominfotest {

// An image of `length` bytes of `fill` with the given header (reserved bytes 0).
QByteArray image(int length, const QByteArray &title, const QByteArray &maker = "01",
                 const QByteArray &gameId = "VTST", uint8_t version = 0, char fill = '\x5A');

// An image that the catalogue identifies as `rom`, published header included.
QByteArray knownImage(const KnownRom &rom);

class RomInfoForm : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets "Auto Detect ROM" before the window loads.
    void setAutoDetect(bool on);
    // Seeds the stored recent list and its count.
    void storeRecent(const QStringList &entries, int count = 4);
    // Opens `path` through File > Open ROM... with the dialog answering it.
    void open(frmRomInfo &window, const QString &path);
    QStringList storedRecent() const;
};

} // namespace rominfotest
