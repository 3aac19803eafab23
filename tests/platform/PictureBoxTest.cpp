#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QSignalSpy>

#include "PictureBox.h"

using controls::PictureSurface;
using controls::RGB;

TEST(PictureSurface, IsBlankInItsBackColourAndReadsBackWhatIsSet)
{
    PictureSurface s(QSize(4, 3), RGB(1, 2, 3));
    EXPECT_EQ(s.Point(3, 2), RGB(1, 2, 3));
    s.PSet(1, 1, RGB(200, 100, 50));
    EXPECT_EQ(s.Point(1, 1), RGB(200, 100, 50));
    // Outside the area nothing is set and nothing is read.
    s.PSet(4, 0, RGB(9, 9, 9));
    EXPECT_EQ(s.Point(4, 0), -1);
    EXPECT_EQ(s.Point(-1, 0), -1);

    s.setBackColor(RGB(0, 128, 128));
    EXPECT_EQ(s.Point(1, 1), RGB(0, 128, 128));
    EXPECT_EQ(s.BackColor(), RGB(0, 128, 128));
}

TEST(PictureSurface, MeasuresInItsScaleMode)
{
    PictureSurface s(QSize(384, 224));
    EXPECT_EQ(s.ScaleWidth(), 384.0);
    s.ScaleMode = controls::vbTwips;
    EXPECT_EQ(s.ScaleWidth(), 5760.0);
    EXPECT_EQ(s.ScaleHeight(), 3360.0);
}

TEST(PictureBox, FillsItsFrameAndReportsCharacterKeys)
{
    QWidget parent;
    controls::PictureBox box(&parent, 120, 120, 5820, 3420);
    EXPECT_EQ(box.surface().size(), QSize(384, 224));
    QSignalSpy keys(&box, &controls::PictureBox::keyPress);
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("A"));
    QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QCoreApplication::sendEvent(&box, &a);
    QCoreApplication::sendEvent(&box, &shift);
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0][0].toInt(), 65);
}
