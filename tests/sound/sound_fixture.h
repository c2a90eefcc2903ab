// A machine for sound tests: reset, the virtual audio sink (the test steps the mixer), the trace lines
// captured, and the runtime's random sequence from its start.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "dsutil.h"
#include "machine/audio.h"
#include "machine/control.h"
#include "machine/failures.h"
#include "dsound/control.h"

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine::control::Reset();
        machine::control::SetAudioSink(machine::control::AudioSink::Virtual);
        srand(1);
    }
    void TearDown() override { machine::control::Reset(); }

    // The texts of the trace lines so far ("dsutil(<line>): <text> (hr=...)" -> "<text>").
    static std::vector<std::string> Traces() {
        std::vector<std::string> texts;
        for (const std::string& line : machine::control::DebugLines()) {
            const size_t start = line.find("): ");
            const size_t end = line.rfind(" (hr=");
            if (line.rfind("dsutil(", 0) == 0 && start != std::string::npos && end != std::string::npos)
                texts.push_back(line.substr(start + 3, end - start - 3));
        }
        return texts;
    }

    static HWND Window() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234)); }
};
