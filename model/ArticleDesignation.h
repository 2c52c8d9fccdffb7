// Article designations: the text under which an element is ordered, counted in the parts table
// and matched against price and stock lists. It is a string-table text chosen by the element's
// kind (for couplings also by the arrangement of their occupied arms), filled with its sizes in
// centimetres and its material's name. Elements that are no article have an empty designation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class CElmnt;

// Class 0 to 9 of each 6-bit occupied-arm mask (bits +X 1, -X 2, +Y 4, -Y 8, +Z 16, -Z 32):
// 0 no arm, 1 one arm, 2 all six, 3 five, 4 four with one axis both ways, 5 three at a corner,
// 6 four in a plane, 7 three in a T, 8 two at a right angle, 9 two straight.
inline constexpr std::array<int32_t, 64> ArmClassTable{
    0, 1, 1, 9, 1, 8, 8, 7, 1, 8, 8, 7, 9, 7, 7, 6, 1, 8, 8, 7, 8, 5, 5, 4, 8, 5, 5, 4, 7, 4, 4, 3,
    1, 8, 8, 7, 8, 5, 5, 4, 8, 5, 5, 4, 7, 4, 4, 3, 9, 7, 7, 6, 7, 4, 4, 3, 7, 4, 4, 3, 6, 3, 3, 2};

// The class of the low six bits of an arm mask.
constexpr int32_t GetArmClass(uint32_t occupiedArms) {
    return ArmClassTable[occupiedArms & 63u];
}

// What a designation text is filled with, before the material name.
enum class DesignationSizes {
    None,         // no size
    Length,       // the length in cm
    LengthSecond, // the length, then the second size, in cm
};

// The string id of the element's designation text (4224 to 4271); 0 when the element is no
// article (the floor grid, a coupling with too few arms or a hole coupling whose arms form no
// designated arrangement, a kind outside the catalogue).
uint32_t GetDesignationId(const CElmnt& elmnt);

// The sizes that designation text id takes, and whether it takes the material name (every text
// but the two roofs).
DesignationSizes GetDesignationSizes(uint32_t id);
bool DesignationTakesMaterial(uint32_t id);

// The designation in the program's language (German), numbers formatted under the C library's
// locale (a decimal comma under a German one). materialName is the name of the material in the
// element's slot, empty for an empty slot. Empty when the element is no article.
std::string GetArticleName(const CElmnt& elmnt, std::string_view materialName);

// The same from the parts of a designation: text id, sizes in mm (ignored where the text takes
// none) and material name. Empty for id 0. A text whose conversions do not fit the arguments
// (a damaged string table) yields the text itself rather than reading a missing argument.
std::string FormatArticleName(uint32_t id, float length, float secondSize,
                              std::string_view materialName);
