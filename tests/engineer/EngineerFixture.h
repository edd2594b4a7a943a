#pragma once
// A codeplug with known factory fields and a scripted prompt for the
// engineer dialog models.
#include <gtest/gtest.h>

#include "codeplug/CCodeplug.h"
#include "codeplug/CModelNumber.h"
#include "codeplug/CRxFrequency.h"
#include "codeplug/CSerialNumber.h"
#include "codeplug/CodeplugContext.h"
#include "ui/ScriptedPrompt.h"

class EngineerFixture : public ::testing::Test {
protected:
    void SetUp() override { CodeplugContext::Get().Reset(); }
    void TearDown() override { CodeplugContext::Get().Reset(); }

    // Every byte in use, then a VHF two-frequency model on split B with its
    // standard IF byte and frequencies, codeplug version 3.007.
    static CCodeplug MakePlug(int band = 2, int split = 1, Byte ifByte = 0x21) {
        CCodeplug plug;
        Image img{};
        for (std::size_t i = 0; i < img.size(); ++i) img[i] = static_cast<Byte>(i * 13 + 5);
        plug.SetImage(img);
        CModelNumber model;
        model.SetBand(band);
        model.SetSubBand(split);
        model.SetFrequencies(1);
        model.SetModulation(7);
        plug.SetModelNumber(model.GetBytes());
        CSerialNumber serial;
        serial.SetSite(2);
        serial.SetYear(8);
        serial.SetPeriod(3);
        serial.SetUnitNumber(1234);
        plug.SetSerialNumber(serial.GetBytes());
        plug.SetIfByte(ifByte);
        plug.SetRxRecord(F1, CRxFrequency::Encode(154.9875, band, ifByte));
        plug.SetRxRecord(F2, CRxFrequency::Encode(158.9975, band, ifByte));
        plug.SetPlugVersion({3, 7});
        plug.SetDataValid(1);
        return plug;
    }

    ui::ScriptedPrompt prompt;
};
