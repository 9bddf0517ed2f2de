// The ids of the programs' resources, shared by their resource script and their code. Plain
// defines: the resource compiler reads nothing else from a header.
#pragma once

// The kit's icon, one 48 x 48 image: the programs' own icon and their windows' (kit_icons.h).
#define KIT_ICON_ID 200
