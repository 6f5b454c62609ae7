// The input file read line by line as READINPF reads it, keeping the line
// number of every keyword line and value line (the keyword store has none).
#pragma once
#include <string>
#include <vector>

namespace input_check {

struct ScannedKey {
  std::string name;  // as decoded (not yet cut to 32 characters)
  int count = 0;
  int line = 0;
  std::string text;  // the keyword line, left-adjusted
  std::vector<int> valueLines;          // count >= 2: the value lines read
  std::vector<std::string> valueTexts;
};

struct LongLine {
  int line = 0;
  std::size_t length = 0;
  std::string dropped;  // what the run does not read
};

struct KeywordScan {
  std::vector<ScannedKey> keys;  // as the store will hold them, in file order
  int badLine = 0;               // a keyword line the run cannot decode (0: none)
  std::string badText;
  int blankStop = 0;             // more than 1000 blank lines end the data here
  std::vector<LongLine> longLines;
  bool readError = false;        // the file could not be read to its end
  bool byteOrderMark = false;    // a UTF-8 byte-order mark before the first line
};

// Reads the open unit lfn from its start; the unit is rewound after.
KeywordScan scan_keywords(int lfn);

}  // namespace input_check
