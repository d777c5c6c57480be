// The report's corners that a real compile reaches only rarely: a problem
// whose site is unknown, and a description path that is not UTF-8.
#include "tools/compile_report.h"

#include <gtest/gtest.h>

#include "compiler/diagnostics.h"

namespace tracciato {
namespace {

AuthorDescriptions descriptions(std::string line_file) {
  return {line_file, "t_1-.txt", "[generale]\r\n", "[generale]\r\n"};
}

TEST(CompileReport, AProblemWithoutASiteNamesTheToolAndNoFile) {
  AuthorCompileResult result;
  result.error_code = 11;
  result.error_position = 500;
  result.written = {"t_linea.dat", "t_1.sim", "t_1.dat"};  // --keep-going

  const std::string message(error_message(11));
  EXPECT_EQ(compile_messages(descriptions("t_linea.txt"), result),
            "tracciato: error: 11 at 500 m: " + message + "\n");
  EXPECT_EQ(compile_report_json(descriptions("t_linea.txt"), result),
            R"({"error_code":11,"error_position":500,"stop":null,"file":null,"line":null,)"
            R"("column":null,"message":")" +
                message + R"(","written":["t_linea.dat","t_1.sim","t_1.dat"],)" +
                R"("diagnostics":[{"severity":"error","code":11,"file":null,"line":null,)" +
                R"("column":null,"position":500,"message":")" + message + R"(","notes":[]}]})" +
                "\n");
}

TEST(CompileReport, APathThatIsNotUtf8StillGivesValidJson) {
#ifdef _WIN32
  GTEST_SKIP() << "on Windows a narrow file name is read in the ANSI code page, so these "
                  "bytes make a valid name with a UTF-8 form";
#endif
  AuthorCompileResult result;
  result.error_code = 6;
  result.error_site = {Description::kLine, 1, 1};

  const std::string json = compile_report_json(descriptions("caf\xe8_linea.txt"), result);
  EXPECT_NE(json.find("\"file\":\"caf\xef\xbf\xbd_linea.txt\""), std::string::npos) << json;
}

TEST(CompileReport, AStopAfterAProblemReportsBoth) {
  AuthorCompileResult result;
  result.stop = CompileStop::kNoRoute;
  result.error_code = 1;
  result.error_site = {Description::kLine, 2, 1};

  const std::string messages = compile_messages(
      {"t_linea.txt", "t_1-.txt", "[generale]\nlunghezza percorso, 2000000\n", ""}, result);
  EXPECT_EQ(messages, "t_linea.txt:2:1: error: 1 at 0 m: " + std::string(error_message(1)) +
                          "\n"
                          "lunghezza percorso, 2000000\n"
                          "^\n"
                          "tracciato: stop: the reading ended before the line length was "
                          "known, so there are no route cells to complete and write; no file "
                          "written\n");
}

}  // namespace
}  // namespace tracciato
