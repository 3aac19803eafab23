#include "KnownRomTable.h"

namespace {

// Header titles are bytes: the katakana ones are written as escapes.
KnownRom row(const char *title, const char *headerExcluded, const char *wholeImage, const char *headerTitle,
             const char *maker, const char *gameId)
{
    return KnownRom{QString::fromLatin1(title), QString::fromLatin1(headerExcluded), QString::fromLatin1(wholeImage),
                    QByteArray(headerTitle), QString::fromLatin1(maker), QString::fromLatin1(gameId)};
}

} // namespace

const std::array<KnownRom, 38> &KnownRomTable()
{
    static const std::array<KnownRom, 38> table = {{
        row("3D Tetris (U) [!]", "05F19DA2", "05F1A395", "POLYGOBLOCK", "01", "VPBE"),
        row("Croach, The (PD)", "04F48110", "04F4B410", "Croach, The", "VE", "V-E"),
        row("Galactic Pinball (JU) [!]", "05958F55", "059595C7", "GALACTIC PINBALL", "01", "VGPJ"),
        row("Golf (U) [!]", "10881B6D", "1088202E", "GOLF", "01", "VVGE"),
        row("Insane Mouse Mansion (J) [!]", "046B02D4", "046B0D66",
            "\xB2\xDD\xBD\xCF\xB3\xBD \xC9 \xD4\xB6\xC0", "8F", "VIMJ"),
        row("Jack Bros (J) [!]", "064B55F1", "064B5B73", "JACK BROS", "EB", "VJBJ"),
        row("Jack Bros (U) [!]", "066DA940", "066DAEBD", "JACK BROS", "EB", "VJBE"),
        row("Mario Clash (JU) [!]", "0681D85B", "0681DE0F", "MARIO CLASH", "01", "VMCJ"),
        row("Mario Clash (JU) [b1]", "0681D85F", "0681DE13", "MARIO CLASH", "01", "VMCJ"),
        row("Mario's Tennis (JU) [!]", "036CAC82", "036CB407", "Mario's Tennis", "01", "VMTJ"),
        row("Mario's Tennis (JU) [b1]", "036C0084", "036C0809", "Mario's Tennis", "01", "VMTJ"),
        row("Nester's Funky Bowling (U) [!]", "0A16E3E7", "0A16EB0C", "NESTER'S FUNKY BOWLI", "01", "VNFE"),
        row("Nester's Funky Bowling (U) [b1]", "1211F8C4", "1211FFE9", "NESTER'S FUNKY BOWLI", "01", "VNFE"),
        row("Nester's Funky Bowling (U) [b2]", "0A120F56", "0A12167B", "NESTER'S FUNKY BOWLI", "01", "VNFE"),
        row("Panic Bomber (J) [!]", "037A6627", "037A726C",
            "\xC4\xCB\xDE\xC0\xDE\xBE!\xCA\xDF\xC6\xCE\xDE\xDD", "18", "VH2J"),
        row("Panic Bomber (U) [!]", "037ED1E9", "037ED8C1", "Panic Bomber", "01", "VH2E"),
        row("Panic Bomber (U) [b1]", "037ED36D", "037EDA45", "Panic Bomber", "01", "VH2E"),
        row("Reality Boy Demo 1 (PD)", "0786B94B", "0786C053", "TEST1 By Orvek Q.", "DB", "TST1"),
        row("Reality Boy Demo 2 (PD)", "07F4E3BC", "07F4EAC6", "TEST2 By Orvek Q.", "DB", "TST2"),
        row("Red Alarm (J) [!]", "035A58F3", "035A5E6B", "REDALARM", "E4", "VREJ"),
        row("Red Alarm (U) [!]", "035C3864", "035C3DBF", "REDALARM", "01", "VREE"),
        row("Space Squash (J) [!]", "0A91B713", "0A91BD2C", "SPACE SQUASH", "0B", "VSSJ"),
        row("T&E Virtual Golf (J) [!]", "10A3D2E8", "10A3D96C", "T&EVIRTUALGOLF", "E4", "VVGJ"),
        row("T&E Virtual Golf (J) [b1]", "10A3D2EC", "10A3D970", "T&EVIRTUALGOLF", "E4", "VVGJ"),
        row("Teleroboxer (JU) [!]", "05BF1B0D", "05BF210F", "TELEROBOXER", "01", "VTBJ"),
        row("Teleroboxer (JU) [T-German0.40b_Kalvex]", "05BF2676", "05BF2C75", "TELEROBOXER", "01", "VTBG"),
        row("V Tetris (J) [!]", "030D4632", "030D4C48", "V\xA5TETRIS", "8B", "VTRJ"),
        row("Vertical Force (J) [!]", "064F6DA2", "064F73CF", "VERTICAL FORCE", "18", "VH3J"),
        row("Vertical Force (U) [!]", "064E9E1E", "064EA43E", "VERTICAL FORCE", "01", "VH3E"),
        row("Virtual Boy Wario Land (JU) [!]", "0D9C9638", "0D9C9F8A",
            "VB \xDC\xD8\xB5\xD7\xDD\xC4\xDE", "01", "VWCJ"),
        row("Virtual Fishing (J) [b1]", "04FFBA15", "04FFC13A", "VIRTUAL FISHING JPN", "99", "VVFJ"),
        row("Virtual League Baseball (U) [!]", "0616B976", "0616C032", "VIRTUAL LEAGUE BB", "7F", "VVPE"),
        row("Virtual League Baseball (U) [b1]", "0616BBFD", "0616C2B9", "VIRTUAL LEAGUE BB", "7F", "VVPE"),
        row("Virtual Pong (PD)", "05FD00F0", "05FD3A48", "Virtual-Pong", "VE", "V-E"),
        row("Virtual Pro Baseball '95 (J) [!]", "065C3910", "065C45E4",
            "\xCA\xDE\xB0\xC1\xAC\xD9\xCC\xDF\xDB\xD4\xB7\xAD\xB3'95", "28", "VVPJ"),
        row("Virtual-E Cursor Demo (PD)", "074F4B40", "075199C0", "VirtualE Cursor Demo", "8B", "VTST"),
        row("Waterworld (U) [!]", "09BF0DDC", "09BF13CB", "WATERWORLD", "67", "VWEE"),
        row("Waterworld (U) [b1]", "09BF0DEC", "09BF13DB", "WATERWORLD", "67", "VWEE"),
    }};
    return table;
}

const std::array<MakerCode, 13> &MakerCodeTable()
{
    // Ordered by code, except that "DB" follows "EB".
    static const std::array<MakerCode, 13> table = {{
        {QStringLiteral("01"), QStringLiteral("Nintendo")},
        {QStringLiteral("0B"), QStringLiteral("Coconuts")},
        {QStringLiteral("18"), QStringLiteral("Hudson Soft")},
        {QStringLiteral("28"), QStringLiteral("Kemco Japan")},
        {QStringLiteral("67"), QStringLiteral("Ocean")},
        {QStringLiteral("7F"), QStringLiteral("Kemco America")},
        {QStringLiteral("8B"), QStringLiteral("Bullet-Proof Software")},
        {QStringLiteral("8F"), QStringLiteral("I'Max")},
        {QStringLiteral("99"), QStringLiteral("T*HQ")},
        {QStringLiteral("E4"), QStringLiteral("T&E Soft")},
        {QStringLiteral("EB"), QStringLiteral("Atlus")},
        {QStringLiteral("DB"), QStringLiteral("Reality Boy / Tavrindel")},
        {QStringLiteral("VE"), QStringLiteral("Virtual-E / Marlowick")},
    }};
    return table;
}

QString LookupTitleByChecksum(const QString &checksum, bool wholeImage)
{
    for (const KnownRom &rom : KnownRomTable()) {
        const QString &column = wholeImage ? rom.wholeImageChecksum : rom.headerExcludedChecksum;
        if (column == checksum)
            return rom.title;
    }
    return kUnknownVbRom;
}

const KnownRom *FindKnownRom(const QString &title)
{
    for (const KnownRom &rom : KnownRomTable())
        if (rom.title == title)
            return &rom;
    return nullptr;
}

std::optional<QString> MakerCodeFromIndex(int index)
{
    const auto &table = MakerCodeTable();
    if (index < 0 || index >= int(table.size()))
        return std::nullopt;
    return table[size_t(index)].code;
}

int MakerIndexFromCode(const QString &code)
{
    const auto &table = MakerCodeTable();
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].code == code)
            return int(i);
    return -1;
}
