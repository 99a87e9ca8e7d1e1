// Codes of WALLTYPE, the structure standing at a cell wall: written at set-up
// (groins, transport.cpp) and each step (the ends of breakwaters joined to the
// shoreline, structures.cpp); read by the smoothing of the final waves, the
// diffraction ranges, the transport rules and the inlet edges.
#pragma once

namespace coastra {

inline constexpr int WALL_OPEN = 0;      // no structure
inline constexpr int WALL_GROIN = 1;     // a groin (or a breakwater end joined to the
                                         // shoreline, which passes transport like one)
inline constexpr int WALL_TOUCH = 3;     // breakwater end joined by a touching salient
inline constexpr int WALL_TOMBOLO = 4;   // breakwater end joined by a tombolo (closed to
                                         // the shadow rules)

}  // namespace coastra
