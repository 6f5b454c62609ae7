// The message lines of the run, as written to the error-message unit.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace framework {

// Messages of the run in the order written: the lines of each (from its
// " *** " or " ### " line up to the empty line that ends it), trailing
// blanks removed.
using Messages = std::vector<std::vector<std::string>>;
struct MsgLog {
  Messages messages;
  bool inMessage = false;
  int errors = 0;  // messages whose first line begins with " *** ", also on the console
};
extern MsgLog m_msglog;

// Notes one record written to unit lfn: kept when lfn is lfnMsg and the
// record belongs to a message. True when the record ends a message.
bool log_message_line(int lfn, std::string_view text);

// The return code of a run that ends with ircode: an error message logged
// makes a success (0 or 1) into 2, so that a run never reports success
// after it reported an error.
int with_logged_errors(int ircode);

}  // namespace framework
