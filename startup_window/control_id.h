#pragma once

#include <cstdint>

using ControlId = std::uint32_t;

constexpr ControlId kStartupTemplateId = 0x52010001;
constexpr ControlId kStartupWindowElementId = 0x06010000;
constexpr ControlId kStartupButtonId = 0x16010002;
