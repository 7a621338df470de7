// The settings a user of the benchmark stream would make: blocks cut at "Data", typed rules for the stream's
// element names, attributes exported, one text filter (for a block that never comes, so every block is
// searched in full and kept) and the translation maps left as identity.
//
// The stream's integers reach 2^40, so its integer names are read as 64-bit integers; a 32-bit rule would
// turn one value in seven into a logged conversion failure.
#pragma once

#include <string_view>

namespace quendra::bench {

// The [Common] section's lines, CR LF separated.
inline constexpr std::string_view kSettingsLines =
    "Start string=Data\r\n"
    "Date and time format=DD.MM.YYYY HH\":\"NN\":\"SS\r\n"
    "Locale ID=1033\r\n"
    "Filter=1||0||<Alarm>||0%0d%0a\r\n"
    "XMLs="
    "Counter||1||1||15%0d%0aBatchNo||1||1||15%0d%0aStatus||1||1||15%0d%0aErrorCode||1||1||15%0d%0a"
    "Cycles||1||1||15%0d%0aPartCount||1||1||15%0d%0aSpeed||1||1||15%0d%0aLevel||1||1||15%0d%0a"
    "Position||1||1||15%0d%0aStepNo||1||1||15%0d%0a"
    "Temperature||1||1||5%0d%0aPressure||1||1||5%0d%0aFlow||1||1||5%0d%0aVoltage||1||1||5%0d%0a"
    "Current||1||1||5%0d%0aWeight||1||1||5%0d%0aTorque||1||1||5%0d%0aHumidity||1||1||5%0d%0a"
    "Density||1||1||5%0d%0aViscosity||1||1||5%0d%0a"
    "StartTime||1||1||11%0d%0aEndTime||1||1||11%0d%0aTimestamp||1||1||11%0d%0aLastService||1||1||11%0d%0a"
    "ProdDate||1||1||11%0d%0a"
    "Operator||1||1||0%0d%0aRecipe||1||1||0%0d%0aMachine||1||1||0%0d%0aComment||1||1||0%0d%0a"
    "Material||1||1||0%0d%0aShift||1||1||0%0d%0aOrderId||1||1||0%0d%0aLine||1||1||0%0d%0a"
    "unit||2||1||0%0d%0aquality||2||1||0%0d%0ano||2||1||8%0d%0a\r\n"
    "Sign timeout=5000\r\n"
    "Export nodes=True\r\n"
    "Export attrs=True\r\n"
    "Add node name=True\r\n"
    "Export upper case name=False\r\n";

}  // namespace quendra::bench
