// Synthetic TRJFIT protocols: the headings and tables FITCHK reads, between
// iterations of RMS tables for every arc, residual-like noise and eclipse
// sections, written with their own column layout (not the product's kit).
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace bench {

struct ProtocolPlan {
  unsigned seed = 1;
  int nSat = 32;           // GPS 1-32 first, then GLONASS 101, 102, ... (without sats)
  std::vector<int> sats;   // the satellites in table order, when not empty (nSat follows)
  // Satellite number and the RMS (m) added to it in every table: outliers.
  std::vector<std::pair<int, double>> outliers;
  // Satellite number and its RMS (m) in the final tables, exactly: no noise,
  // no outlier added (earlier iterations scaled as the others).
  std::vector<std::pair<int, double>> fixedRms;
  // Satellites first to last, each with an RMS (m) of its own between low
  // and high added in every table: a noisy system.
  struct Spread {
    int first = 0, last = 0;
    double low = 0.0, high = 0.0;
  };
  std::vector<Spread> spreads;
  int nIter = 5;           // iterations; the last one is final
  char layout = 'A';       // satellite table layout, 'A' or 'B'
  int noisePerTable = 40;  // residual lines behind every RMS table
  int finalNoise = -1;     // the same for the tables of the final iteration (-1: noisePerTable)
  int nEcl = 4;            // eclipsing satellites per arc
  int passages = 3;        // shadow passages of each eclipsing satellite
  // Arc windows as written in the arc table (start, end).
  std::vector<std::pair<std::string, std::string>> arcs = {
      {"2013-05-06 00:00:00", "2013-05-08 00:00:00"}};
  int truncateRows = -1;  // >= 0: the file ends after that many rows of the final arc-1 table
};

// What EXTDEF should take from the protocol for arc 1.
struct Expected {
  long long lines = 0;
  std::vector<int> satNum;
  std::vector<double> rms;  // metres, as written with 3 decimals
  std::vector<int> eclSat;
  std::vector<int> longShadow;  // seconds
};

// The constellation of a 2026 orbit fit: GPS 1-32, GLONASS 101-124, Galileo
// 201-228, SBAS 320, 323, 327, Compass 401-445, QZSS 501-504 (136 satellites).
std::vector<int> modern_satellites();

// Writes the protocol to path; returns what it holds. Nothing stands behind
// the last eclipse section, so a reader of arc 1 sees the whole file only
// when it is a single-arc protocol.
Expected write_protocol(const std::string& path, const ProtocolPlan& plan);

}  // namespace bench
