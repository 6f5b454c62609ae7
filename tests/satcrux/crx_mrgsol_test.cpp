#include "satcrux/d_satcrx.h"
#include "satcrux_fixture.h"

namespace {

using satcrux::d_satcrx;
using satcrux_test::header;
using satcrux_test::may1;
using satcrux_test::rec;
using testsupport::run_captured;

class CrxMrgsolTest : public satcrux_test::SatCruxTest {
 protected:
  std::vector<satcrux::t_crux> records() const {
    const auto& l = d_satcrx.satCrux;
    return {l.crxLst.begin(), l.crxLst.begin() + l.nCrx};
  }
};

constexpr double kSecond = 1.0 / 86400;

TEST_F(CrxMrgsolTest, AManoeuvreInsideABadWindowMovesOntoItsBoundary) {
  // Satellite 5: bad window 10:00-12:00 and a manoeuvre at 11:00; satellite 6
  // has the same manoeuvre but no window.
  setup(header() + rec(5, 3, 2, "2013-05-01 10:00:00", "2013-05-01 12:00:00") +
        rec(5, 0, 0, "2013-05-01 11:00:00") + rec(6, 0, 0, "2013-05-01 11:00:00"));
  satcrux::CRX_MRGSOL({may1(9), may1(10, 30), may1(13)});
  const auto l = records();
  ASSERT_EQ(l.size(), 4u) << "one copy appended";
  EXPECT_EQ(l[1].kind, (std::array<int, 2>{4, 2}));
  EXPECT_NEAR(l[1].window[0], may1(10, 30), 1e-9);
  EXPECT_EQ(l[2].kind, (std::array<int, 2>{0, 0})) << "no window for satellite 6";
  EXPECT_EQ(l[3].satNum, 5);
  EXPECT_EQ(l[3].kind, (std::array<int, 2>{0, 0}));
  EXPECT_NEAR(l[3].window[0], may1(10, 30), 1e-9);

  std::vector<int> sat;
  std::vector<double> epoch;
  EXPECT_EQ(satcrux::GTSATM2(10, sat, epoch), 1);
  EXPECT_EQ(sat, std::vector<int>{5});
  EXPECT_NEAR(epoch.at(0), may1(10, 30), 1e-9);
  EXPECT_EQ(satcrux::GTSATS(10, sat, epoch), 1) << "the moved record is an arc split";
  EXPECT_EQ(satcrux::GTSATM(10, sat, epoch), 2);
  EXPECT_EQ(sat, (std::vector<int>{6, 5}));
}

TEST_F(CrxMrgsolTest, BoundariesAreTestedWithTheToleranceAndTheMovedEpoch) {
  // The manoeuvre lies 1 s before its window: inside by the 1.1 s tolerance.
  setup(header() + rec(7, 3, 2, "2013-05-01 10:00:00", "2013-05-01 12:00:00") +
        rec(7, 0, 3, "2013-05-01 09:59:59") + rec(8, 3, 2, "2013-05-01 10:00:00") +
        rec(8, 0, 0, "2013-05-01 09:59:58"));
  // 11:30 is later than the manoeuvre (no copy); 10:30 is earlier than the
  // moved epoch (one copy); 12:00:01 lies within the tolerance of the end.
  satcrux::CRX_MRGSOL({may1(11, 30), may1(10, 30), may1(12, 0, 1)});
  const auto l = records();
  ASSERT_EQ(l.size(), 5u);
  EXPECT_EQ(l[1].kind, (std::array<int, 2>{4, 2}));
  EXPECT_NEAR(l[1].window[0], may1(12, 0, 1), 1e-9);
  EXPECT_EQ(l[4].kind, (std::array<int, 2>{4, 2})) << "a copy of the record as already moved";
  EXPECT_NEAR(l[4].window[0], may1(10, 30), 1e-9);
  EXPECT_EQ(l[3].kind, (std::array<int, 2>{0, 0})) << "2 s before its window";
  EXPECT_NEAR(l[3].window[0], may1(10) - 2 * kSecond, 1e-9);
  EXPECT_EQ(d_satcrx.crxOrig.nCrx, 1);
}

TEST_F(CrxMrgsolTest, ManyMovesGrowTheListsInsteadOfOverrunningThem) {
  std::string body = header() + rec(9, 3, 2, "2013-05-01 00:00:00", "2013-05-02 00:00:00") +
                     rec(9, 0, 0, "2013-05-01 23:00:00");
  setup(body);
  std::vector<double> boundary;
  for (int h = 22; h >= 0; --h) boundary.push_back(may1(h));
  satcrux::CRX_MRGSOL(boundary);
  EXPECT_EQ(d_satcrx.satCrux.nCrx, 2 + 23) << "more copies than the 10 spare entries";
  EXPECT_EQ(d_satcrx.crxOrig.nCrx, 23) << "more than one entry per manoeuvre";
  std::vector<int> sat;
  std::vector<double> epoch;
  EXPECT_EQ(satcrux::GTSATM2(100, sat, epoch), 1) << "only the first copy is a manoeuvre";
  EXPECT_NEAR(epoch.at(0), may1(22), 1e-9);
  const auto r = run_captured(tmp, [&] { satcrux::GTSATM2(0, sat, epoch); });
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(satcrux_test::starts_with(
      r.console,
      "\n *** SR DIMTST: MAXIMUM DIMENSION \"maxman\" EXCEEDED IN SR d_satcrx:gtsatm2\n"))
      << r.console;
}

TEST_F(CrxMrgsolTest, DuplicatesInCrxOrigAreNamedByGtsatm2) {
  setup(header() + rec(3, 3, 2, "2013-05-01 10:00:00", "2013-05-01 12:00:00") +
        rec(3, 0, 0, "2013-05-01 11:00:00") + rec(3, 0, 0, "2013-05-01 11:30:00"));
  satcrux::CRX_MRGSOL({may1(10, 30)});
  std::vector<int> sat;
  std::vector<double> epoch;
  const auto r = run_captured(tmp, [&] { satcrux::GTSATM2(10, sat, epoch); });
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(satcrux_test::starts_with(
      r.console, "\n *** SR d_satcrx:gtsatm2: Duplicated entries for maneuver\n" +
                     std::string(16, ' ') + "Satellite number:    3\n" + std::string(16, ' ') +
                     "Maneuver epoch:    2013-05-01 10:30:00\n\n"))
      << r.console;
}

}  // namespace
