// The settings record: every configuration value under its key name, with the
// items the configuration reader derives from them. Each comment gives the
// meaning and the unit the member holds once set-up is done; the configuration
// is read-only from then on (no stage rewrites a setting during the run).
//
// THE LENGTH RULE. Lengths are read in the model length unit (feet or metres,
// CSTUNITS) and converted to metres once, at set-up (input/setup.cpp,
// input/shoreline_files.cpp). A length that is not converted there says so at
// its declaration: "model unit, x LENFAC at use (where)". Volumes follow the
// same rule with YDFAC^3 (cubic yards to m3).
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
  int NUMWAVES = 0;               // wave files (stations) used; 0 or less: every WAVEID line
  int NWAVEFILES = 0;             // WAVEID lines read
  Vec1<int> IWAVEID{MXWAVEF};     // station identifier: the cell at which the station applies
  Vec1<float> WMDEP{MXWAVEF};     // depth of the station's waves (m after set-up)
  int NWAVEV = 0;                 // wave-file form: 0 undated, N > 0 dated with N events
  std::string WAVEFILE[MXWAVEF + 2];  // wave file names
  int IWLFILE = 0;                // records announced in the water-level file (NWL)
  std::string WLFILE;             // water-level file
  int NTIDEFILES = 0;             // TIDEFILE lines read
  bool TIDES = false;             // tidal-current files given
  Vec1<int> ITIDEWALL{MXTIDEF};   // cell wall of each tide station (first TIDEFILE integer)
  int ITIDE2 = 0;                 // records announced per tidal-current file (NTC; last line wins)
  std::string TIDEFILE[MXTIDEF + 2];  // tidal-current file names
  float KTIDE = 1.0F;             // factor on the tidal currents (dimensionless)
  std::string PRFILE;             // print file
  std::string OUTBASE;            // print-file name up to and including its first period
  int IDOT = 256;                 // position of that period (256 when none)
  std::string DXFILE;             // variable cell-spacing file
  std::string CSTUNITS = "(ft)";  // model length unit
  std::string WAVUNITS = "(m)";   // wave-height unit of the wave files
  int UNITSYS = 0;                // 2 feet and cubic yards, 1 metres and cubic metres
  bool ENGLISH = false;           // feet
  std::string VOLLABEL;           // volume unit label of the reports: "CY" or "M3"
  float WAVEFAC = 1.0F;           // metres per wave-file height unit; applied in WAVINP
  std::string BYPFILE;            // non-uniform bypass event file

  // --- grid, time and output control ---
  float X0 = 0.0F;                // baseline origin, x: model unit, x LENFAC at use (XCELL)
  float Y0 = 0.0F;                // baseline origin, y (model unit): accepted, not used
  float AZIMUTH = 0.0F;           // baseline orientation (deg)
  float AZIMUTH90 = 0.0F;         // AZIMUTH - 90 (deg), set by the reader
  int NX = 0;                     // number of cells
  Vec1<float> DX{MXWALL};         // cell spacing per cell 1..NX+1 (m after set-up)
  int SIMDATS = 0;                // start date YYYYMMDD (or step count)
  int SIMDATE = 0;                // end date YYYYMMDD (or step count)
  float DT = 0.0F;                // configured time step (hours); the one in force is StepState::DT
  float DTSAVE = 0.0F;            // interval of saved output (hours)
  bool PRTOUT = true;             // print file written
  bool PRWARN = true;             // warnings written to the print file
  int IPRWARN = 0;                // 1 when PRWARN, set at the end of the file
  int NOUT = 0;                   // PRDATE lines read (may exceed MXOUT: counted, not stored)
  Vec1<int> PRDATE{MXOUT};        // print-out dates YYYYMMDD or step numbers (as configured;
                                  // in force: StepState::PRDATE)
  int DTADAPT = 0;                // adaptive time step switch: 1 on
  double DTMIN = 0.0;             // smallest adaptive step (hours)
  float DTMAX = 0.0F;             // largest adaptive step (hours)
  float NSTABDTMIN = 0.0F;        // quiet period before an increase (steps of the configured
                                  // DT; read in days; in force: StepState::NSTABDTMIN)
  float STABMIN = 0.5F;           // lower stability bound (dimensionless)
  float STABMAX = 0.5F;           // upper stability bound (dimensionless)

  // --- transport, waves and profile ---
  // Alongshore parameters as given (one value per segment, in the unit of the
  // per-wall member below as read, with the last cell of each segment) and
  // expanded to one value per wall 1..NX+1 at the end of the file; the segment
  // lists are not read after that.
  Vec1<float> K1SEG{MXWALL}, K2SEG{MXWALL}, HAMPSEG{MXWALL}, THETAAMPSEG{MXWALL},
      THETADELSEG{MXWALL}, BERMHTSEG{MXWALL}, DCLOSSEG{MXWALL};
  Vec1<int> IK1END{MXWALL}, IK2END{MXWALL}, IHAMPEND{MXWALL}, ITHETAAMPEND{MXWALL},
      ITHETADELEND{MXWALL}, IBERMHTEND{MXWALL}, IDCLOSEND{MXWALL};
  Vec1<float> K1{MXWALL};         // longshore transport coefficient per wall (dimensionless)
  Vec1<float> K2{MXWALL};         // height-gradient transport coefficient per wall (dimensionless)
  Vec1<float> HAMP{MXWALL};       // wave height amplification per wall (dimensionless)
  Vec1<float> THETAAMP{MXWALL};   // wave angle amplification per wall (dimensionless)
  Vec1<float> THETADEL{MXWALL};   // wave angle adjustment per wall (deg; radians at use in WAVINP)
  Vec1<float> BERMHT{MXWALL};     // berm height per wall (m after set-up)
  Vec1<float> DCLOS{MXWALL};      // depth of closure per wall (m after set-up)
  // Cross-shore equilibrium response, in SI units whatever CSTUNITS and
  // WAVUNITS say (segments and expansion as for K1).
  int XSHORE = 0;                 // 1: the cross-shore response moves every cell as well
  Vec1<float> XSSSEG{MXWALL}, XSKACCSEG{MXWALL}, XSKEROSEG{MXWALL}, XSEREFSEG{MXWALL};
  Vec1<int> IXSSEND{MXWALL}, IXSKACCEND{MXWALL}, IXSKEROEND{MXWALL}, IXSEREFEND{MXWALL};
  Vec1<float> XSS{MXWALL};        // equilibrium shoreline per wave energy (m per m2)
  Vec1<float> XSKACC{MXWALL};     // accretion rate (1/(m day): per metre of wave height per day)
  Vec1<float> XSKERO{MXWALL};     // erosion rate (1/(m day))
  Vec1<float> XSEREF{MXWALL};     // wave energy Hs^2 of the equilibrium shoreline Yeq = 0 (m2)
  int ISMOOTH = 11;               // smoothing window of the offshore contour (cells); after
                                  // set-up at most NX and odd when 3 or more
  int IREG = 0;                   // regional contour: 0 none, 1 waves turned to it, 3 contour kept
                                  // aside (YREGFILE) and the offshore contour never recomputed
  float GAMMA = 0.78F;            // breaker index, breaking height over depth (dimensionless)
  int WAVREGANG = 0;              // read and echoed; no effect
  int IWAVREGSMOOTH = 0;          // read and echoed; no effect
  float D50 = 0.0F;               // median grain size (mm); APROF at set-up

  // --- lateral boundaries ---
  int LBCTYPE = 0, RBCTYPE = 0;   // 0 pinned, 1/2 gated groin, 3 moving
  float LMOVY = 0.0F, RMOVY = 0.0F;   // boundary shoreline change per LMOVPER/RMOVPER period:
                                      // model unit, x LENFAC at use (boundary_rate: DYL, DYR)
  int LMOVPER = 0, RMOVPER = 0;   // period of LMOVY/RMOVY: 1 run, 2 day, 3 step
  float LGROINY = 0.0F, RGROINY = 0.0F;  // groin tip to shoreline outside the grid (m after
                                         // set-up for a gated boundary; other types: unused)

  // --- groins (sorted by wall at the end of the file; ...ORD keeps the line order) ---
  int NNDG = 0;                   // non-diffracting groins read (may exceed MXNDG: counted)
  Vec1<int> IXNDG{MXNDG};         // wall of non-diffracting groin k
  Vec1<int> INDGORD{MXNDG};       // line order of groin k before the sort
  Vec1<float> YNDG{MXNDG};        // tip distance from the baseline (m after set-up)
  Vec1<float> PNDG{MXNDG};        // permeability, 0 tight to 1 open (dimensionless)
  int NDG = 0;                    // diffracting groins read (may exceed MXDG: counted)
  Vec1<int> IXDG{MXDG};           // wall of diffracting groin k
  Vec1<int> IDGORD{MXDG};         // line order of groin k before the sort
  Vec1<float> YDG{MXDG};          // tip distance from the baseline (m after set-up)
  Vec1<float> DDG{MXDG};          // depth at the tip (m after set-up)
  Vec1<float> PDG{MXDG};          // permeability, 0 tight to 1 open (dimensionless)
  int NOTIPNDG = 0, NOTIPDG = 0;  // first IXNDG / IXDG line without its YNDG / YDG tip
                                  // distance, in file order (0: every groin has one)

  // --- detached breakwaters ---
  // Breakwater k runs from cell DBI1 (tip DBY1, depth DBDEP1) to cell DBI2.
  // Crest height, crest width and stone size are lengths, in metres after
  // set-up; the face slopes are rise over run.
  int NDB = 0;                    // breakwaters read (may exceed MXDB: counted)
  Vec1<int> DBI1{MXDB}, DBI2{MXDB};    // first and last cell
  Vec1<int> KTMETDB{MXDB};        // transmission method of a computed KT
  Vec1<float> DBY1{MXDB}, DBY2{MXDB};      // end distances from the baseline (m after set-up)
  Vec1<float> DBDEP1{MXDB}, DBDEP2{MXDB};  // depths at the ends (m after set-up)
  Vec1<float> TRANDB{MXDB};       // constant transmission coefficient (dimensionless)
  Vec1<float> HDB{MXDB};          // crest height above the bed (m after set-up)
  Vec1<float> BDB{MXDB};          // crest width (m after set-up)
  Vec1<float> SSDB{MXDB}, SHSDB{MXDB};  // seaward and shoreward face slopes (rise over run)
  Vec1<float> D50DB{MXDB};        // median stone diameter (m after set-up; 0 for method 2)
  Vec1<float> PDB{MXDB};          // transmission property, as read (1.0 for methods 0 and 1)
  int TRANMODE = 0;               // 0 constant TRANDB, 1 computed (KTMETDB)
  int NKTMET = 0;                 // KTMETDB lines read (one per breakwater when computed)
  int IDB1 = 0;                   // single-breakwater setting, as read (not used yet)
  int IDBN = 0;                   // single-breakwater setting, as read (not used yet)

  // --- seawalls, water level, fills and bypassing ---
  int NSW = 0;                    // seawalls read
  Vec1<int> ISWBEG{MXSW}, ISWEND{MXSW};   // first and last cell of seawall s
  Vec1<float> SWY1{MXSW}, SWY2{MXSW};     // line at the first and last cell from the baseline:
                                          // model unit, x LENFAC at use (YSWALL, set-up)
  float DTWL = 0.0F;              // water-level record interval (hours): accepted, not used;
                                  // the interval is taken from the file (SeriesState::DTWL)
  int NBF = 0;                    // beach fills read
  Vec1<int> BFDATS{MXBF}, BFDATE{MXBF};   // start and end date of fill k, YYYYMMDD
  Vec1<int> IBFS{MXBF}, IBFE{MXBF};       // first and last cell of fill k
  Vec1<float> YADD{MXBF};         // added beach width of fill k (m after set-up)
  // Bypass operations. The QQDATS, QQDATE, IQQS and IQQE lines store into entry 1
  // of BPDATS, BPDATE, IBPS and IBPE: they are the same values of operation 1.
  int NBP = 0;                    // BPDATS lines read (may exceed MXBP: counted, not stored)
  Vec1<int> BPDATS{MXBP}, BPDATE{MXBP};  // start and end dates
  Vec1<int> IBPS{MXBP}, IBPE{MXBP};      // first and last placement cell
  Vec1<double> QBP{MXBP};         // bypass rate of each operation, as read (model volume unit
                                  // per hour over the operation's cells; QBPM holds it converted)
  int QQGIVEN = 0;                // QQ keys read: bit 1 QQDATS, 2 QQDATE, 4 IQQS, 8 IQQE

  // --- inlets ---
  bool INLETS = false;            // an IINLS line was read
  int NINL = 0;                   // inlets read
  Vec1<int> IINLS{MXINL}, IINLE{MXINL};     // first and last cell of inlet k
  Vec1<int> IBYPL1{MXINL}, IBYPL2{MXINL};   // first and last cell of the left bypass bar
  Vec1<int> IBYPR1{MXINL}, IBYPR2{MXINL};   // first and last cell of the right bypass bar
  std::string INLNAME[MXINL + 2];           // inlet names
  // Shoal volumes of inlet k (m3 after set-up): ebb, flood, left and right
  // bypass bars, left and right attachment bars; ...Q their equilibrium volumes.
  Vec1<float> VVSE{MXINL}, VVSF{MXINL}, VVSBL{MXINL}, VVSBR{MXINL}, VVSAL{MXINL}, VVSAR{MXINL};
  Vec1<float> VVSEQ{MXINL}, VVSFQ{MXINL}, VVSBQL{MXINL}, VVSBQR{MXINL}, VVSAQL{MXINL},
      VVSAQR{MXINL};
  Vec1<float> YINLL{MXINL}, YINLR{MXINL};   // left and right distance from the baseline: model
                                            // unit, x LENFAC at use (inlet set-up); 0: derived
  Vec1<float> JBCL{MXINL}, JBCR{MXINL};     // left and right jetty factors, as read
  bool DREDGING = false;          // an IMOR line was read
  int NDRED = 0;                  // dredging events over the whole file
  Vec1<int> NDREDLAST{MXINL};     // per inlet: number of its last dredging event
  Vec1<int> IMOR{MXDRED};         // value of the IMOR line opening event n
  Vec1<int> DREDINL{MXDRED};      // inlet of event n
  Vec1<int> IDREDS{MXDRED}, IDREDE{MXDRED};  // first and last date of event n, YYYYMMDD
  Vec1<float> DREDV{MXDRED};      // dredged volume per hour (m3/h after set-up); x DT at use
  float DRDAY = 0.0F;             // days the following DREDV lines are spread over

  // --- sediment-budget cells ---
  int NQMAPV = 0, NQMAPQ = 0;     // budget volume cells and transport walls read
  Vec1<int> IQMAPV1{MXQMAP}, IQMAPV2{MXQMAP};  // first and last cell of budget volume cell k
  Vec1<int> IQMAPQ1{MXQMAP}, IQMAPQ2{MXQMAP};  // first and last index of budget transport k
};

}  // namespace coastra
