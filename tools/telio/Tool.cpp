#include "Tool.h"

#include <exception>
#include <iostream>

#include "Help.h"
#include "Suite.h"

namespace telio_tool {

namespace {

// Pages for --help, from the same text as `telio help`.
class ToolFormatter : public CLI::FormatterBase {
 public:
  explicit ToolFormatter(const ToolCli& cli) : cli_(cli) {}
  std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const override {
    if (!app->get_parent()) return OverviewText(cli_);
    return CommandPage(cli_, *app);
  }

 private:
  const ToolCli& cli_;
};

}  // namespace

const char* ToolVersion() { return TELIO_VERSION; }

ToolCli::ToolCli() : commands(MakeCommands()), app(kToolTitle, "telio") {
  app.formatter(std::make_shared<ToolFormatter>(*this));
  app.failure_message([](const CLI::App*, const CLI::Error& e) {
    return std::string("telio: ") + e.what() + "\n(telio help COMMAND shows a command's page)\n";
  });
  app.require_subcommand(1);
  app.fallthrough();  // global options may follow the command
  app.set_help_flag("-h,--help", "Print this help and exit");
  app.set_version_flag("--version", std::string("telio ") + ToolVersion(), "Print the version and exit");
  app.add_option("--suite", opt.suite, kSuiteOptionHelp)->type_name("DIR");
  for (const auto& c : commands) {
    CLI::App* sub = app.add_subcommand(c->Name(), c->Summary());
    sub->set_help_flag("-h,--help", "Print this command's page and exit");
    c->Define(*sub, opt);
  }
}

const Command* ToolCli::CommandOf(const CLI::App& sub) const {
  const CLI::App* top = &sub;
  while (top->get_parent() && top->get_parent()->get_parent()) top = top->get_parent();
  for (const auto& c : commands) {
    if (top->get_name() == c->Name()) return c.get();
  }
  return nullptr;
}

int RunTool(int argc, const char* const* argv) {
  ToolCli cli;
  try {
    cli.app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int rc = cli.app.exit(e);
    return rc == 0 ? 0 : 2;
  }
  ShareSuiteWithLibrary(cli.opt);
  try {
    for (const auto& c : cli.commands) {
      if (cli.app.got_subcommand(c->Name())) return c->Run(cli.opt);
    }
  } catch (const std::exception& e) {
    // Out of memory, or text the JSON writer refuses: a failure, not a crash.
    std::cerr << "telio: " << e.what() << '\n';
    return 1;
  }
  return 2;
}

}  // namespace telio_tool
