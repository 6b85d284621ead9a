#include "export/efile.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

class EFileTest : public TempDirTest {};

// The golden cases hold the eFile, the export checks, both reports and the
// preview rows of whole classes; this student brings the field rules they
// lack: a dashed number, ESL "N" beside ELD, an interview request in lower
// case and a skill outside 1 to 4 (a favourites range may bring one).
TEST_F(EFileTest, WritesTheFieldRulesTheGoldenClassesLack) {
    StudentRecord s = makeStudent("ENG2D1-02", "Oduya", "Tamsin", "123-456-789");
    s.trilliumField8 = "K2";
    s.mark = "66";
    s.esl = "N";
    s.eld = "Y";
    s.interview = "y";
    s.skills[kSR] = "9";
    s.freeFormUsed = true;
    s.freeFormText = "Tamsin leads group work, and \"listens\" well.";
    EXPECT_EQ(exportTrilliumClass(file("eng.trc"), {s}, {}).outcome, WriteOutcome::Written);
    EXPECT_EQ(readBytes(dir() / "eng.trc"),
              "ENG2D1-02,Oduya,Tamsin,123-45789,,F,K2,0,ELD,66,0,0,G,,G,,G,,"
              "\"Tamsin leads group work, and 'listens' well.\",G,G,,0,0\r\n");
    EXPECT_EQ(exportTrilliumClass(file("none.trc"), {}, {}).outcome, WriteOutcome::Written);
    EXPECT_EQ(readBytes(dir() / "none.trc"), "");
}

}  // namespace
}  // namespace tl::test
