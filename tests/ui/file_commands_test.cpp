// The file commands over a whole editor, with the prompt's answer handed in.
#include "ui/file_commands.h"

#include "io/file_test_support.h"
#include "io/model_file.h"
#include "support/editor_fixture.h"
#include "ui/commands.h"

namespace {

using namespace filetest;

class FileCommands : public EditorFixture {
 protected:
  PassFlow command(Action code, const std::string& answer) {
    ed().requests = LoopRequests{};
    return runFileCommandAnswered(ed(), code, answer);
  }
  uint8_t message() const { return ed_->requests.statusMessage; }
};

TEST_F(FileCommands, PromptTitlesAreTheTwentySixCharacterTexts) {
  for (const Action code :
       {Action::Open, Action::SaveAs, Action::ExportStl, Action::LoadPart, Action::SavePart})
    EXPECT_EQ(fileCommandTitle(code).size(), 26u) << int{actionCode(code)};
  EXPECT_EQ(fileCommandTitle(Action::Open), "  OPEN  - enter filename  ");
  EXPECT_EQ(fileCommandTitle(Action::ExportStl), " export - enter filename  ");
  EXPECT_TRUE(fileCommandTitle(Action::Save).empty());
}

TEST_F(FileCommands, EmptyAnswersCancel) {
  start();
  EXPECT_EQ(command(Action::Open, ""), PassFlow::EndPass);
  EXPECT_EQ(message(), kMsgCanceled);
  EXPECT_EQ(ed().requests.normalsDirty, 1);  // Open re-renders even when cancelled
  for (const Action code : {Action::SaveAs, Action::ExportStl, Action::LoadPart}) {
    EXPECT_EQ(command(code, ""), PassFlow::ToTools) << int{actionCode(code)};
    EXPECT_EQ(message(), kMsgCanceled) << int{actionCode(code)};
    EXPECT_EQ(ed().requests.needPresent, 1) << int{actionCode(code)};
  }
  EXPECT_EQ(ed().currentFile, "default.rq");
  EXPECT_FALSE(std::filesystem::exists("default.rq"));
}

TEST_F(FileCommands, SaveAsThenSaveThenOpen) {
  start();
  EXPECT_EQ(command(Action::SaveAs, "b.rq"), PassFlow::ToTools);
  EXPECT_EQ(message(), kMsgFileSaved);
  EXPECT_EQ(ed().currentFile, "b.rq");
  ed().model.vertexPos[0].x = 55.0f;
  EXPECT_EQ(command(Action::Save, ""), PassFlow::ToTools);
  EXPECT_EQ(message(), kMsgFileSaved);
  EXPECT_EQ(ed().requests.needPresent, 1);
  EXPECT_EQ(f32At(readFile("b.rq"), 21), 55.0f);

  ed().model.vertexCount = 0;
  EXPECT_EQ(command(Action::Open, "b.rq"), PassFlow::EndPass);
  EXPECT_EQ(message(), kMsgFileLoaded);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  EXPECT_EQ(ed().model.vertexCount, 9);
  EXPECT_EQ(ed().model.vertexPos[0].x, 55.0f);
}

TEST_F(FileCommands, FailedSaveAsKeepsTheCurrentFile) {
  start();
  EXPECT_EQ(command(Action::SaveAs, "no/folder/x.rq"), PassFlow::ToTools);
  EXPECT_EQ(message(), kMsgWriteFailed);
  EXPECT_EQ(ed().currentFile, "default.rq");
}

TEST_F(FileCommands, OpenOfAMissingNameChangesNothing) {
  start();
  const ModelSnapshot before = snapshot(ed().model);
  EXPECT_EQ(command(Action::Open, "ghost.rq"), PassFlow::EndPass);
  EXPECT_EQ(message(), kMsgFileNotFound);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  EXPECT_FALSE(std::filesystem::exists("ghost.rq"));
  EXPECT_TRUE(sameModel(before, snapshot(ed().model)));
  EXPECT_EQ(ed().currentFile, "default.rq");
}

// The imported model takes the STL file's name with ".rq", so Save never writes over the
// model that was open before.
TEST_F(FileCommands, ExportThenOpenTheStlNamesTheModelAfterIt) {
  start();
  run(1);  // normals up to date
  EXPECT_EQ(command(Action::ExportStl, "m.stl"), PassFlow::ToTools);
  EXPECT_EQ(message(), kMsgFileSaved);
  EXPECT_EQ(readFile("m.stl").size(), 84u + 50 * 6);
  EXPECT_EQ(command(Action::Open, "m.stl"), PassFlow::EndPass);
  EXPECT_EQ(message(), kMsgNone);
  EXPECT_EQ(ed().model.vertexCount, 5);  // the line ends are not in the file
  EXPECT_EQ(ed().model.triangleCount, 6);
  EXPECT_EQ(ed().model.lineCount, 0);
  EXPECT_EQ(ed().currentFile, "m.rq");
}

TEST_F(FileCommands, PartCommandsUseTheEditMenusGroup) {
  start();
  EXPECT_EQ(command(Action::SavePart, "p.part"), PassFlow::ToTools);
  EXPECT_EQ(message(), kMsgNothingSelected);
  EXPECT_FALSE(std::filesystem::exists("p.part"));
  ed().model.triFlags[2] = kSelectedBit;
  EXPECT_EQ(command(Action::SavePart, "p.part"), PassFlow::ToTools);
  EXPECT_EQ(message(), kMsgFileSaved);
  ed().menus.menuPartGroup[2] = 17;
  EXPECT_EQ(command(Action::LoadPart, "p.part"), PassFlow::EndPass);
  EXPECT_EQ(message(), kMsgFileLoaded);
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  EXPECT_EQ(ed().model.triangleCount, 7);
  EXPECT_EQ(ed().model.triFlags[6], 17);
  EXPECT_EQ(command(Action::LoadPart, "KOVRIN.INI"), PassFlow::ToTools);
  EXPECT_EQ(message(), kMsgNotRqFile);
  EXPECT_EQ(ed().currentFile, "default.rq");
}

TEST_F(FileCommands, CommandLineStlShowsItsProgressLine) {
  Bytes b;
  b.b.resize(80, ' ');
  b.i32(300);
  for (int i = 0; i < 300; ++i)
    b.vec(0, 0, 0).vec(1, 0, 0).vec(0, 1, 0).vec(0, 0, static_cast<float>(i)).u16(0);
  std::filesystem::create_directories(dir_);
  writeFile((dir_ / "in.stl").string(), b.b);
  start("in.stl");
  EXPECT_EQ(ed().model.triangleCount, 300);
  EXPECT_EQ(ed().model.vertexCount, 302);
  EXPECT_EQ(ed().currentFile, "in.rq");
  EXPECT_EQ(platform_.textRow(23).substr(0, 27), "importing stl...  256/ 300 ");
  EXPECT_EQ(platform_.refreshes(), 1);  // the clock stands still: one refresh at most
}

}  // namespace

namespace {

// " exPort stl" picks OBJ and PLY by the answer's ending; " Open" reads them back as they
// were exported, the current file unchanged, and a PLY's colours switch "model Colors" on.
TEST_F(FileCommands, ExportAsObjAndPlyThenOpenThem) {
  start();
  ed().model.triColor[2] = colorWord(31, 0, 0);
  ed().model.triFlags[3] = 7;
  setPartName(ed().model, 7, "apex");
  for (const std::string name : {"m.obj", "m.PLY", "m.stl"}) {
    EXPECT_EQ(command(Action::ExportStl, name), PassFlow::ToTools) << name;
    EXPECT_EQ(message(), kMsgFileSaved) << name;
  }
  const auto head = [](const std::string& name, size_t n) {
    const std::vector<uint8_t> bytes = readFile(name);
    return std::string(bytes.begin(), bytes.begin() + static_cast<long>(std::min(n, bytes.size())));
  };
  EXPECT_EQ(head("m.obj", 7), "# KOVRI");
  EXPECT_EQ(head("m.PLY", 4), "ply\n");
  EXPECT_EQ(readFile("m.stl").size(), 84u + 50u * 6u);
  EXPECT_EQ(command(Action::Open, "m.PLY"), PassFlow::EndPass);
  EXPECT_EQ(ed().model.vertexCount, 9);  // the lines' corners stay, as exported
  EXPECT_EQ(ed().model.triColor[2], colorWord(31, 0, 0));
  EXPECT_TRUE(flagOn(ed(), kModelColors));
  EXPECT_EQ(command(Action::Open, "m.obj"), PassFlow::EndPass);
  EXPECT_FALSE(flagOn(ed(), kModelColors));
  EXPECT_EQ(ed().model.triangleCount, 6);
  EXPECT_EQ(partName(ed().model, 1), "apex        ");  // the second group in use, by number
  EXPECT_EQ(ed().model.lineCount, 0);
  EXPECT_EQ(ed().currentFile, "m.rq");  // an imported model takes its own name, as STL does
}

}  // namespace
