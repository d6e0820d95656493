// The shared palette of every picture: night blues and violets, warm apricot for Pim and the exit.
#pragma once
#include "paint.h"

namespace pal {

// Ink: the one outline colour of every sprite and tile.
const colour ink = {34, 20, 58};

// The dream world at night.
const colour night0 = {8, 10, 32};
const colour night1 = {18, 22, 64};
const colour night2 = {34, 40, 104};
const colour night3 = {56, 62, 142};
const colour dusk = {92, 70, 160};
const colour violet = {128, 96, 196};
const colour lavender = {176, 156, 226};
const colour lilac = {214, 204, 242};
const colour cloud = {242, 240, 255};
const colour white = {255, 255, 255};

// Pim.
const colour apricot_lit = {255, 222, 172};
const colour apricot = {255, 176, 110};
const colour apricot_shade = {222, 122, 76};
const colour cheek = {255, 128, 140};
const colour cap = {72, 110, 214};
const colour cap_lit = {126, 164, 246};
const colour cap_shade = {44, 64, 150};
const colour pompom = {255, 240, 196};

// Warm accents.
const colour gold = {255, 212, 96};
const colour orange = {255, 146, 54};

// Building blocks Pim makes from Dream Power.
const colour up_lit = {150, 250, 214};
const colour up = {54, 196, 160};
const colour up_shade = {24, 122, 110};
const colour still_lit = {255, 238, 160};
const colour still = {240, 192, 84};
const colour still_shade = {176, 122, 46};
const colour down_lit = {230, 170, 255};
const colour down = {170, 96, 226};
const colour down_shade = {104, 50, 160};

// Every Restriction Block, and the exit door.
const colour red_lit = {255, 120, 110};
const colour red = {214, 38, 50};
const colour red_shade = {130, 16, 36};

// Teleports.
const colour spark = {96, 176, 255};
const colour spark_lit = {200, 236, 255};

// Crumbling block: tired sandstone.
const colour sand_lit = {236, 214, 190};
const colour sand = {196, 168, 148};
const colour sand_shade = {132, 104, 102};

// Tile families.
const colour stone_lit = {236, 230, 252};
const colour stone = {186, 176, 222};
const colour stone_shade = {124, 112, 176};
const colour wood_lit = {210, 146, 104};
const colour wood = {160, 98, 70};
const colour wood_shade = {104, 58, 52};
const colour moss = {124, 100, 196};
const colour moss_lit = {170, 146, 236};
const colour crystal_lit = {170, 220, 255};
const colour crystal = {60, 110, 220};
const colour crystal_shade = {30, 46, 140};

// The plate colour the game paints behind boxes and the banner.
const colour plate = {141, 147, 197};

} // namespace pal
