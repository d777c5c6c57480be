#include "tools/live_view.h"

#include <optional>

#include "driver/failure_message.h"
#include "platform/file_replace.h"
#include "platform/file_watch.h"
#include "platform/utf8_path.h"
#include "tools/author_findings.h"
#include "tools/console_output.h"
#include "tools/description_encoding.h"
#include "tools/encoding_option.h"
#include "tools/exit_status.h"
#include "tools/page_server.h"
#include "tools/route_view_build.h"

namespace tracciato {
namespace {

// Draws the page again at each save, keeping the last drawing that compiled.
class LiveView {
 public:
  LiveView(const ViewArguments& args, LivePage& live) : args_(args), live_(live) {}

  // One revision: the descriptions read and compiled again, the page
  // published. Returns the status line.
  std::string draw() {
    ++revision_;
    RoutePage page;
    std::string outcome;
    try {
      AuthorDescriptions descriptions = read_author_descriptions(path_from_utf8(args_.line_file),
                                                                 path_from_utf8(args_.train_file));
      if (const auto problem = convert_descriptions(descriptions, args_.encoding)) {
        print_err(*problem);
        page = earlier_page(problem_only(*problem));
        outcome = "not drawn: a description is not " + args_.encoding;
      } else {
        const std::vector<Diagnostic> warnings =
            description_warnings(descriptions, args_.encoding != kUtf8Encoding);
        const DrawingCompile drawing = compile_for_drawing(
            descriptions, drawing_names(args_.line_file, args_.train_file), true);
        print_findings(descriptions, warnings, drawing.compile);
        const ViewProblems problems = view_problems(descriptions, warnings, drawing);
        const std::string counts =
            problems.errors + problems.warnings == 0
                ? ""
                : " (" + diagnostic_summary(problems.errors, problems.warnings) + ")";
        if (drawing.clean() || !last_good_) {
          ViewDrawing drawn = view_drawing(descriptions, drawing);
          page = route_view_page(drawn, problems, drawing.clean());
          if (drawing.clean()) {
            last_good_ = std::move(drawn);
            last_good_revision_ = revision_;
          }
          outcome = (drawing.clean() ? "drawn" : "drawn up to the problem") + counts;
        } else {
          page = earlier_page(problems);
          outcome = "not compiled" + counts + "; the drawing of revision " +
                    std::to_string(last_good_revision_) + " stays";
        }
      }
    } catch (const IoError& e) {
      const std::string message = file_failure_message(e, "save it again");
      print_err("tracciato view: " + message + "\n");
      page = earlier_page(problem_only(message));
      outcome = "not drawn: a description cannot be read";
    }
    page.revision = revision_;
    page.live = true;
    live_.publish(render_route_page(page), revision_);
    return "revision " + std::to_string(revision_) + ": " + outcome;
  }

 private:
  static ViewProblems problem_only(const std::string& message) {
    ViewProblems problems;
    problems.errors = 1;
    problems.list.push_back(placeless_error(message));
    return problems;
  }

  // The problems of this save over the drawing of the last one that
  // compiled, if any.
  RoutePage earlier_page(const ViewProblems& problems) const {
    RoutePage page = route_view_page(last_good_.value_or(ViewDrawing{}), problems, true);
    if (last_good_) {
      page.banner = "The descriptions as saved do not compile: this is the drawing of revision " +
                    std::to_string(last_good_revision_) + ", the last that did.";
    } else {
      page.banner = "The descriptions as saved do not compile, and no earlier save did.";
    }
    return page;
  }

  const ViewArguments& args_;
  LivePage& live_;
  int64_t revision_ = 0;
  std::optional<ViewDrawing> last_good_;
  int64_t last_good_revision_ = 0;
};

}  // namespace

int run_live_view(const ViewArguments& args, const std::function<bool()>& keep_watching,
                  const std::function<void(const std::string&)>& on_address) {
  LivePage live;
  LiveView view(args, live);
  // Stamped before the first drawing, so that a save during it is not missed.
  FileWatch watch({path_from_utf8(args.line_file), path_from_utf8(args.train_file)});
  const std::string first = view.draw();
  std::unique_ptr<PageServer> server;
  try {
    server = serve_page(live, args.port);
  } catch (const ServeUnavailable& e) {
    print_err(std::string("tracciato view: ") + e.what() + "\n");
    return kExitIo;
  }
  const std::string address = "http://127.0.0.1:" + std::to_string(server->port()) + "/";
  print_out("serving " + address + " (interrupt to stop)\n" + first + "\n");
  if (const int status = finish_output(kExitSuccess); status != kExitSuccess) return status;
  if (on_address) on_address(address);
  while (watch.wait_for_save(keep_watching)) {
    print_out(view.draw() + "\n");
    finish_output(kExitSuccess);
  }
  return kExitSuccess;
}

}  // namespace tracciato
