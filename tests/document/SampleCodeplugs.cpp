#include "SampleCodeplugs.h"

#include "codeplug/CPagerData.h"
#include "codeplug/CodeplugContext.h"

namespace {

// Decoder, battery and squelch settings of a pager as shipped.
void FillAdvanced(CAdvancedData& a, int ifSel) {
    a.SetScanBack(125);  // 1 s
    a.SetIfSel(ifSel);
    a.SetTuneParB7(1);
    a.SetTuneParB6(0);
    a.SetTuneParL(6);
    a.SetClockSel(0);
    a.SetMeasureMode(1);
    a.SetBandwidth(3);  // 1.55 % tone spacing
    a.SetRfOffDuty(200);
    a.SetPreStable(10);
    a.SetSampleDur(5);
    a.SetT1d(40);
    a.SetT1dCnt(12);
    a.SetGapTol(5);
    a.SetLongDur(40);
    a.SetT2d(60);
    a.SetT2dCnt(18);
    a.SetGbWeightGood(3);
    a.SetGbWeightBad(5);
    a.SetGoodBadRadio(120);
    a.SetGoodBadRadio2(96);
    a.SetRatioEnd(64);
    a.SetEndToneDur(10);
    const int battery[] = {41, 43, 45, 47, 50, 52};  // 1.0 V to 1.25 V
    for (int i = 0; i < 6; ++i) a.SetBatLevel(i, battery[i]);
    a.SetSqOn(2);
    a.SetSqOff(4);
    a.SetPlugVerMajor(1);
    a.SetPlugVerMinor(5);
    a.SetBatGaugePeri(100);
}

void FillChannel(CChannelData& ch, const SampleChannel& s, int ifSel) {
    ch.SetFrequency(s.mhz, static_cast<Byte>(ifSel));
    ch.SetCodingOption(s.codingOption);
    for (const SampleCall& c : s.calls) {
        ch.SetTone(c.call, c.tone1);
        if (c.call < 8) ch.SetTone(c.call + 12, c.tone2);
        ch.SetCallAlert(c.call, c.alert);
        ch.SetDutyOff(c.call, c.dutyOff);
    }
}

}  // namespace

const std::vector<SampleCodeplug>& SampleCodeplugs() {
    static const std::vector<SampleCodeplug> samples = {
        {"vhf-two-frequency.dat",
         2,
         1,
         0,
         {152.0075,
          10,
          {{0, 349.0, 600.9, 0, false},
           {1, 389.0, 707.3, 1, false},
           {2, 433.7, 832.5, 2, true},
           {3, 483.5, 979.9, 4, false},
           {8, 1153.4, 0, 1, false},
           {9, 1285.8, 0, 0, false}}},
         {154.4300,
          0,
          {{0, 539.0, 669.9, 0, false},
           {1, 539.0, 832.5, 3, false},
           {8, 669.9, 0, 1, false},
           {9, 832.5, 0, 1, false}}},
         true},
        {"uhf-one-frequency.dat",
         3,
         0,
         2,
         {411.3125,
          4,
          {{0, 765.0, 1036.0, 0, false}, {8, 1036.0, 0, 1, false}, {9, 1403.0, 0, 5, false}}},
         {0.0, 0, {}},
         false},
    };
    return samples;
}

CCodeplug BuildSample(const SampleCodeplug& s) {
    const bool vhf = s.band == 2;
    // 21.4 MHz IF, low-side injection; the divider keeps the reference
    // word at 1280 for the band's channel step.
    const int ifSel = vhf ? 0x21 : 0x25;

    CCodeplug plug;
    CPagerData d;
    d.Decode(plug);
    d.model.SetBand(s.band);
    d.model.SetSubBand(s.subBand);
    d.model.SetFrequencies(s.twoFrequency ? 1 : 0);
    // The VHF pager has stored voice ("9 - SV"), the UHF one has not ("7 - NSV").
    d.model.SetModulation(vhf ? 7 : 5);
    d.model.SetBattery(vhf ? 0 : 1);
    if (vhf) {
        d.serial.SetSite(2);
        d.serial.SetYear(CSerialNumber::YearCode(2008));
        d.serial.SetPeriod(0);
        d.serial.SetUnitNumber(1);
    } else {
        d.serial.SetWarranty(1);
        d.serial.SetSite(0);
        d.serial.SetYear(CSerialNumber::YearCode(2020));
        d.serial.SetPeriod(2);
        d.serial.SetUnitNumber(42);
    }
    d.SetToneSystem(s.toneSystem);
    FillAdvanced(d.advanced, ifSel);
    d.ifSetting.SetByte(static_cast<Byte>(ifSel));
    d.version.SetPlugVersion(1.005);
    d.squelch.SetLevel(3);

    // The channel records read band and tone clock from the context.
    CodeplugContext::Get().band = s.band;
    d.channel[0].SetClockIndex(0);
    d.channel[1].SetClockIndex(0);
    FillChannel(d.channel[0], s.f1, ifSel);
    FillChannel(d.channel[1], s.f2, ifSel);

    CModelOptions& o = d.options;
    o.SetScanBack(125);
    o.SetAlertTime(10);
    if (vhf) {
        o.SetFlag(CModelOptions::SV_FITTED, true);
        o.SetFlag(CModelOptions::VOICE_MEMO, true);
        o.SetFlag(CModelOptions::CALL_REMINDER, true);
        o.SetSvRecordTime(2);   // 30 Sec
        o.SetResetFunction(1);  // Delayed N
        o.SetResetTime(25);     // 12 s
    } else {
        o.SetFlag(CModelOptions::FIXED_ALERT, true);
        o.SetFlag(CModelOptions::ALERT_DURATION_FIXED, true);
        o.SetResetFunction(0);  // Automatic
        o.SetResetTime(16);     // 7.68 s, what the sheet puts in place of none
    }

    CSwitchSettings& sw = d.switches;
    if (vhf) {
        // Push to listen alerts by vibration only.
        sw.SetMode(0, CSwitchSettings::SELECTIVE_CALL_F1);
        sw.SetAlertType(0, 2);
        sw.SetDuty(0, true);
        sw.SetPtl(0, true);
        sw.SetMode(1, CSwitchSettings::SELECTIVE_CALL_F2);
        sw.SetAlertType(1, 3);
        sw.SetMode(2, CSwitchSettings::PRIORITY_SCAN_F1);
        sw.SetAlertType(2, 1);
        sw.SetMode(3, CSwitchSettings::MONITOR_F1);
        sw.SetAlertType(3, 1);
    } else {
        for (int pos = 0; pos < CSwitchSettings::kPositions; ++pos) sw.SetWideBand(pos, true);
        sw.SetMode(0, CSwitchSettings::SELECTIVE_CALL_F1);
        sw.SetAlertType(0, 2);
        sw.SetPtl(0, true);
        sw.SetMode(1, CSwitchSettings::SELECTIVE_CALL_F1);
        sw.SetAlertType(1, 2);
        sw.SetMode(2, CSwitchSettings::SILENT_SCAN);
        sw.SetAlertType(2, 2);
        sw.SetDuty(2, true);
        sw.SetMode(3, CSwitchSettings::MONITOR_F1);
        sw.SetAlertType(3, 1);
    }
    d.Encode(plug);
    plug.SetDataValid(1);
    return plug;
}
