#include "support/reset_all_state.h"

#include "framework/d_const.h"
#include "framework/d_pgmid.h"
#include "framework/exitrc.h"
#include "framework/m_cpu.h"
#include "framework/m_msglog.h"
#include "framework/m_tolk.h"
#include "input/d_inpkey.h"
#include "input/rplenvar.h"
#include "orbit_check/asplit.h"
#include "orbit_check/extdef.h"
#include "platform/clock.h"
#include "platform/units.h"
#include "results/run_record.h"
#include "satcrux/d_satcrx.h"

namespace testsupport {

// Every module's state back to its initial values.
void reset_all_state() {
  platform::reset_units();
  platform::set_fake_clock(std::nullopt);
  framework::m_tolk = framework::Tolk{};
  framework::d_pgmid = framework::PgmId{};
  framework::d_const = framework::Consts{};
  framework::m_cpu = framework::Cpu{};
  input::inpKey = input::t_inpkey{};
  framework::auxInpFil.clear();
  framework::exitHook = framework::ExitHookState{};
  framework::s_exitdel = framework::ExitDelState{};
  framework::m_msglog = framework::MsgLog{};
  input::rplenvarCache = input::RplenvarCache{};
  orbit_check::s_extdef = orbit_check::ExtdefState{};
  results::d_runrec = results::RunRecord{};
  orbit_check::s_asplit = orbit_check::AsplitState{};
  satcrux::d_satcrx = satcrux::SatCrx{};
}

}  // namespace testsupport
