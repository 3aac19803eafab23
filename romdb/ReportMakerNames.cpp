#include "ReportMakerNames.h"

namespace romdb {

const std::array<ReportMakerName, 13> &ReportMakerNames()
{
    static const std::array<ReportMakerName, 13> table = {{
        {"01", QStringLiteral(" (Nintendo)")},
        {"0B", QStringLiteral(" (Coconuts)")},
        {"18", QStringLiteral(" (Hudson Soft)")},
        {"28", QStringLiteral(" (Kemco Japan)")},
        {"67", QStringLiteral(" (Ocean)")},
        {"7F", QStringLiteral(" (Kemco America)")},
        {"8B", QStringLiteral(" (Bullet-Proof S/W)")},
        {"8F", QStringLiteral(" (I'Max)")},
        {"99", QStringLiteral(" (T*HQ)")},
        {"E4", QStringLiteral(" (T&E Soft)")},
        {"EB", QStringLiteral(" (Atlus)")},
        {"DB", QStringLiteral(" (Reality Boy)")},
        {"VE", QStringLiteral(" (Virtual-E)")},
    }};
    return table;
}

QString MakerNameText(const QByteArray &code)
{
    for (const ReportMakerName &maker : ReportMakerNames())
        if (maker.code == code)
            return maker.text;
    return QStringLiteral(" (UNKNOWN MANU ID)");
}

} // namespace romdb
