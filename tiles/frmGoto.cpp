#include "frmGoto.h"

#include <QLabel>
#include <QPushButton>

#include "Controls.h"
#include "VbText.h"

namespace {

constexpr double kMaxWidth = 32767;

} // namespace

frmGoto::frmGoto(const QString &gotoWhat, const QString &value, const QString &fileLength, QWidget *parent)
    : Form(parent)
    , m_gotoWhat(gotoWhat)
    , m_value(value)
    , m_fileLength(fileLength)
{
    using controls::Place;
    setWindowTitle(QStringLiteral("Goto specific..."));
    setClientSizeTwips(3360, 1080);
    QWidget *c = client();
    lblGoto = Place<QLabel>(c, 120, 150, 735, 255, QStringLiteral(":"));
    txtGoto = Place<controls::NumberBox>(c, 900, 120, 2340, 315);
    lblGoto->setBuddy(txtGoto);
    cmdGoto = Place<QPushButton>(c, 900, 600, 1095, 375, QStringLiteral("Goto"));
    cmdCancel = Place<QPushButton>(c, 2145, 600, 1095, 375, QStringLiteral("Cancel"));
    cmdGoto->setDefault(true);
    cmdCancel->setAutoDefault(false);
    setCancelButton(cmdCancel);
    controls::FitCaptions(c);

    connect(txtGoto, &controls::NumberBox::numberChanged, this, &frmGoto::txtGoto_Change);
    connect(cmdGoto, &QPushButton::clicked, this, &frmGoto::cmdGoto_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGoto::cmdCancel_Click);
}

bool frmGoto::editsWidth() const
{
    return m_gotoWhat == QLatin1String("Width");
}

bool frmGoto::editsOffset() const
{
    return m_gotoWhat == QLatin1String("Offset");
}

void frmGoto::Form_Load()
{
    if (editsWidth()) {
        setWindowTitle(QStringLiteral("Goto specific width..."));
        lblGoto->setText(QStringLiteral("Width:"));
        txtGoto->setTextAtEnd(m_value);
    } else if (editsOffset()) {
        setWindowTitle(QStringLiteral("Goto specific offset..."));
        lblGoto->setText(QStringLiteral("Offset:"));
        txtGoto->setTextAtEnd(m_value);
    }
}

void frmGoto::txtGoto_Change()
{
    // The box has made its text clean; what is left is the upper bound.
    if (editsWidth() && txtGoto->value() > kMaxWidth) {
        txtGoto->setTextAtEnd(vb::CStr(kMaxWidth));
    } else if (editsOffset()) {
        const double last = vb::Val(m_fileLength) - 1;
        if (txtGoto->value() > last)
            txtGoto->setTextAtEnd(vb::CStr(last));
    }
}

void frmGoto::cmdGoto_Click()
{
    if (editsWidth()) {
        if (txtGoto->value() < 1)
            txtGoto->setTextAtEnd(QStringLiteral("1"));
        m_accepted = txtGoto->text();
    } else if (editsOffset()) {
        if (txtGoto->value() <= 0)
            txtGoto->setTextAtEnd(QStringLiteral("0"));
        m_accepted = txtGoto->text();
    }
    close();
}

void frmGoto::cmdCancel_Click()
{
    close();
}
