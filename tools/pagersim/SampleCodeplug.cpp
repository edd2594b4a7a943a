#include "SampleCodeplug.h"

#include "codeplug/CChannelData.h"
#include "codeplug/CRxFrequency.h"
#include "codeplug/CToneCode.h"

Image SampleCodeplug() {
    CCodeplug plug;
    constexpr int kBand = 2;
    plug.SetModelNumber({0x00, 0x80, 0x00, 0x03});  // A03, split D: 167 - 174 MHz
    plug.SetSerialNumber({0x12, 0x34, 0x56, 0x78});
    plug.SetPlugVersion({2, 10});
    const Byte ifSel = 0x24;  // 21.4 MHz, low-side injection, reference divider 4
    plug.SetIfByte(ifSel);
    plug.SetClockSel(0);
    plug.SetToneSystem(0);
    plug.SetSquelchPair({0x19, 0x32});
    plug.SetRxRecord(F1, CRxFrequency::Encode(169.5, kBand, ifSel));
    plug.SetRxRecord(F2, CRxFrequency::Encode(171.25, kBand, ifSel));

    // Calls 1 to 8 as tone pairs, calls 9 to 12 as single group tones.
    const double first[8] = {349.0, 368.5, 389.0, 410.8, 433.7, 457.9, 483.5, 510.5};
    const double second[8] = {569.1, 600.9, 634.5, 669.9, 707.3, 746.8, 788.5, 832.5};
    const double group[4] = {1153.4, 1185.2, 1217.8, 1251.4};
    for (Channel ch : {F1, F2}) {
        CChannelData::Slots slots{};
        for (int i = 0; i < 8; ++i) {
            slots[i] = CToneCode::Encode(first[i], 0).Code14();
            slots[12 + i] = CToneCode::Encode(second[i], 0).Code14();
        }
        for (int i = 0; i < 4; ++i) slots[8 + i] = CToneCode::Encode(group[i], 0).Code14();
        CChannelData::Table table{};
        CChannelData::Refs refs{};
        CChannelData::Pack(slots, CChannelData::Refs{}, table, refs);
        plug.SetToneTable(ch, table);
        plug.SetToneRefs(ch, refs);
    }
    plug.SetSwitches({0x22, 0x23, 0x20, 0x24});
    Image image = plug.PrepareForOutput();
    image[layout::PAGER_FIRMWARE] = 0;
    return image;
}
