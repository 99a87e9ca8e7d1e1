// The settings record: every configuration value under its key name, with the
// items the configuration reader derives from them. Lengths are in the user's
// unit as read until set-up converts them to metres.
#pragma once

#include <string>

#include "model/constants.h"
#include "model/vec1.h"

namespace coastra {

struct Settings {
  // --- header, titles, files and units ---
  bool HEADER = false;            // a COASTRA line was found
  std::string TITLE;              // run title (64 characters)
  std::string INIFILE;            // initial shoreline file
  std::string REGFILE;            // regional shoreline file
  int NUMWAVES = 0;               // number of wave files (stations) used
  int NWAVEFILES = 0;             // WAVEID lines read
  Vec1<int> IWAVEID{MXWAVEF};     // station identifier: the cell at which the station applies
  Vec1<float> WMDEP{MXWAVEF};     // depth of the station's waves (model length unit, then m)
  int NWAVEV = 0;                 // wave-file form: 0 undated, N > 0 dated with N events
  std::string WAVEFILE[MXWAVEF + 2];  // wave file names
  int IWLFILE = 0;                // integer given with the water-level file
  std::string WLFILE;             // water-level file
  int NTIDEFILES = 0;             // TIDEFILE lines read
  bool TIDES = false;             // tidal-current files given
  Vec1<int> ITIDEWALL{MXTIDEF};   // first integer of each TIDEFILE line
  int ITIDE2 = 0;                 // second integer of the TIDEFILE lines (last wins)
  std::string TIDEFILE[MXTIDEF + 2];  // tidal-current file names
  float KTIDE = 1.0F;             // factor on the tidal currents
  std::string PRFILE;             // print file
  std::string OUTBASE;            // print-file name up to and including its first period
  int IDOT = 256;                 // position of that period (256 when none)
  std::string DXFILE;             // variable cell-spacing file
  std::string CSTUNITS = "(ft)";  // model length unit
  std::string WAVUNITS = "(m)";   // wave-height unit of the wave files
  int UNITSYS = 0;                // 2 feet and cubic yards, 1 metres and cubic metres
  bool ENGLISH = false;           // feet
  std::string VOLLABEL;           // "CY" or "M3"
  float WAVEFAC = 1.0F;           // wave-file heights to metres
  std::string BYPFILE;            // non-uniform bypass event file

  // --- grid, time and output control ---
  float X0 = 0.0F;                // baseline origin, x (model length unit)
  float Y0 = 0.0F;                // accepted, not used
  float AZIMUTH = 0.0F;           // baseline orientation (deg)
  float AZIMUTH90 = 0.0F;         // AZIMUTH - 90 (deg)
  int NX = 0;                     // number of cells
  Vec1<float> DX{MXWALL};         // cell spacing per cell 1..NX+1 (model unit as read, then m)
  int SIMDATS = 0;                // start date YYYYMMDD (or step count)
  int SIMDATE = 0;                // end date YYYYMMDD (or step count)
  float DT = 0.0F;                // time step (hours)
  float DTSAVE = 0.0F;            // interval of saved output (hours)
  bool PRTOUT = true;             // print file written
  bool PRWARN = true;             // warnings written to the print file
  int IPRWARN = 0;                // 1 when PRWARN
  int NOUT = 0;                   // PRDATE lines read (may exceed MXOUT: counted, not stored)
  Vec1<int> PRDATE{MXOUT};        // print-out dates or step numbers
  int DTADAPT = 0;                // adaptive time step switch
  double DTMIN = 0.0;             // smallest adaptive step (hours)
  float DTMAX = 0.0F;             // largest adaptive step (hours)
  float NSTABDTMIN = 0.0F;        // quiet period before an increase (days, then steps)
  float STABMIN = 0.5F;           // lower stability bound
  float STABMAX = 0.5F;           // upper stability bound

  // --- transport, waves and profile ---
  // Alongshore parameters as given (one value per segment, with the segment end cells)
  // and expanded to one value per wall 1..NX+1 at the end of the file.
  Vec1<float> K1SEG{MXWALL}, K2SEG{MXWALL}, HAMPSEG{MXWALL}, THETAAMPSEG{MXWALL},
      THETADELSEG{MXWALL}, BERMHTSEG{MXWALL}, DCLOSSEG{MXWALL};
  Vec1<int> IK1END{MXWALL}, IK2END{MXWALL}, IHAMPEND{MXWALL}, ITHETAAMPEND{MXWALL},
      ITHETADELEND{MXWALL}, IBERMHTEND{MXWALL}, IDCLOSEND{MXWALL};
  Vec1<float> K1{MXWALL};         // longshore transport coefficient per wall
  Vec1<float> K2{MXWALL};         // second transport coefficient per wall
  Vec1<float> HAMP{MXWALL};       // wave height amplification per wall
  Vec1<float> THETAAMP{MXWALL};   // wave angle amplification per wall
  Vec1<float> THETADEL{MXWALL};   // wave angle adjustment per wall (deg as read)
  Vec1<float> BERMHT{MXWALL};     // berm height per wall (model unit, then m)
  Vec1<float> DCLOS{MXWALL};      // depth of closure per wall (model unit, then m)
  int ISMOOTH = 11;               // smoothing window of the offshore contour (cells)
  int IREG = 0;                   // regional contour switch
  float GAMMA = 0.78F;            // breaker index
  int WAVREGANG = 0;              // read and echoed; no effect
  int IWAVREGSMOOTH = 0;          // read and echoed; no effect
  float D50 = 0.0F;               // median grain size (mm)

  // --- lateral boundaries ---
  int LBCTYPE = 0, RBCTYPE = 0;   // 0 pinned, 1/2 gated groin, 3 moving
  float LMOVY = 0.0F, RMOVY = 0.0F;   // boundary shoreline change (model unit)
  int LMOVPER = 0, RMOVPER = 0;   // period of LMOVY/RMOVY: 1 run, 2 day, 3 step
  float LGROINY = 0.0F, RGROINY = 0.0F;  // groin tip to shoreline outside the grid

  // --- groins (sorted by wall at the end of the file; ...ORD keeps the line order) ---
  int NNDG = 0;
  Vec1<int> IXNDG{MXNDG}, INDGORD{MXNDG};
  Vec1<float> YNDG{MXNDG}, PNDG{MXNDG};
  int NDG = 0;
  Vec1<int> IXDG{MXDG}, IDGORD{MXDG};
  Vec1<float> YDG{MXDG}, DDG{MXDG}, PDG{MXDG};

  // --- detached breakwaters ---
  int NDB = 0;
  Vec1<int> DBI1{MXDB}, DBI2{MXDB}, KTMETDB{MXDB};
  Vec1<float> DBY1{MXDB}, DBDEP1{MXDB}, DBY2{MXDB}, DBDEP2{MXDB}, TRANDB{MXDB}, HDB{MXDB},
      BDB{MXDB}, SSDB{MXDB}, SHSDB{MXDB}, D50DB{MXDB}, PDB{MXDB};
  int TRANMODE = 0;               // 0 constant TRANDB, 1 computed (KTMETDB)
  int NKTMET = 0;                 // KTMETDB lines read (one per breakwater when computed)
  int IDB1 = 0;
  int IDBN = 0;

  // --- seawalls, water level, fills and bypassing ---
  int NSW = 0;
  Vec1<int> ISWBEG{MXSW}, ISWEND{MXSW};
  Vec1<float> SWY1{MXSW}, SWY2{MXSW};
  float DTWL = 0.0F;              // water-level record interval (hours)
  int NBF = 0;
  Vec1<int> BFDATS{MXBF}, BFDATE{MXBF}, IBFS{MXBF}, IBFE{MXBF};
  Vec1<float> YADD{MXBF};
  // Bypass operations. The QQDATS, QQDATE, IQQS and IQQE lines store into entry 1
  // of BPDATS, BPDATE, IBPS and IBPE: they are the same values of operation 1.
  int NBP = 0;                    // BPDATS lines read (may exceed MXBP: counted, not stored)
  Vec1<int> BPDATS{MXBP}, BPDATE{MXBP};  // start and end dates
  Vec1<int> IBPS{MXBP}, IBPE{MXBP};      // first and last placement cell
  Vec1<double> QBP{MXBP};         // bypass rate of each operation, as read

  // --- inlets ---
  bool INLETS = false;
  int NINL = 0;
  Vec1<int> IINLS{MXINL}, IINLE{MXINL}, IBYPL1{MXINL}, IBYPL2{MXINL}, IBYPR1{MXINL},
      IBYPR2{MXINL};
  std::string INLNAME[MXINL + 2];
  Vec1<float> VVSE{MXINL}, VVSF{MXINL}, VVSBL{MXINL}, VVSBR{MXINL}, VVSAL{MXINL}, VVSAR{MXINL};
  Vec1<float> VVSEQ{MXINL}, VVSFQ{MXINL}, VVSBQL{MXINL}, VVSBQR{MXINL}, VVSAQL{MXINL},
      VVSAQR{MXINL};
  Vec1<float> YINLL{MXINL}, YINLR{MXINL}, JBCL{MXINL}, JBCR{MXINL};
  bool DREDGING = false;
  int NDRED = 0;                  // dredging events over the whole file
  Vec1<int> NDREDLAST{MXINL};     // per inlet: number of its last dredging event
  Vec1<int> IMOR{MXDRED}, DREDINL{MXDRED}, IDREDS{MXDRED}, IDREDE{MXDRED};
  Vec1<float> DREDV{MXDRED};      // dredged volume per time step
  float DRDAY = 0.0F;             // days the following DREDV lines are spread over

  // --- sediment-budget cells ---
  int NQMAPV = 0, NQMAPQ = 0;
  Vec1<int> IQMAPV1{MXQMAP}, IQMAPV2{MXQMAP}, IQMAPQ1{MXQMAP}, IQMAPQ2{MXQMAP};
};

}  // namespace coastra
