// The program's resources as the platform's binary resource formats, each built once on first use.
#pragma once

#include <cstdint>
#include <vector>

const std::vector<uint8_t>& MainIconImage();      // RT_ICON 1: 32 x 32, 32 bits with an AND mask
const std::vector<uint8_t>& MainIconGroup();      // RT_GROUP_ICON 101, naming RT_ICON 1
const std::vector<uint8_t>& AcceleratorTable();   // RT_ACCELERATOR 113
const std::vector<uint8_t>& MainMenuTemplate();   // RT_MENU 141
const std::vector<uint8_t>& SettingsDialogTemplate();  // RT_DIALOG 144
const std::vector<uint8_t>& BounceSound();        // "WAVE" "BOUNCE"

// Resource ids the program's code loads.
constexpr uint16_t kMainIconId = 101;
constexpr uint16_t kMainIconImageId = 1;
constexpr uint16_t kAcceleratorTableId = 113;
constexpr uint16_t kMainMenuId = 141;
constexpr uint16_t kSettingsDialogId = 144;
constexpr uint16_t kEnglishUS = 1033;
