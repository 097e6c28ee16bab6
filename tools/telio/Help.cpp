#include "Help.h"

#include <algorithm>
#include <iostream>
#include <sstream>

#include "Tool.h"

namespace telio_tool {

namespace {

constexpr size_t kWidth = 78;

const char* const kUsage[] = {
    "telio [--suite DIR] COMMAND [ARGUMENTS] [OPTIONS]",
    "telio help COMMAND",
    "telio --version",
};

const char* const kSuiteRule =
    "The suite data folder is the first of: --suite DIR; the suite folder that the settings file "
    "TELMARO.INI names (section Dirs, key Telmaro; the file lives in $XDG_CONFIG_HOME/telio, by default "
    "~/.config/telio), with its tables in its Bin/Data folder when it has one; share/telio beside the "
    "tool (../share/telio from the folder of the executable), where it is installed; and, for a tool run "
    "from its build tree, the source tree's data/ folder. Commands that read it print the one they used "
    "as suite and how it was found as suite_source.";

bool Hidden(const CLI::Option* o) { return o->get_group().empty(); }
bool IsPositional(const CLI::Option* o) { return o->get_positional() && !o->nonpositional(); }
bool IsFlag(const CLI::Option* o) {
  return !IsPositional(o) && (o->get_type_size() == 0 || o->get_expected_max() == 0);
}

// The option's own type name ("R" of "R:INT in [0 - 9]").
std::string TypeName(const CLI::Option* o) {
  std::string t = o->get_type_name();
  const size_t colon = t.find(':');
  if (colon != std::string::npos) t.erase(colon);
  return t.empty() ? "VALUE" : t;
}

// The range a validator allows ("INT in [2 - 10000]"), else "".
std::string TypeRange(const CLI::Option* o) {
  const std::string t = o->get_type_name();
  const size_t colon = t.find(':');
  if (colon == std::string::npos || t.find('[', colon) == std::string::npos) return std::string();
  return t.substr(colon + 1);
}

// An argument's name in a synopsis ("FILE").
std::string ArgName(const CLI::Option* o) { return o->get_single_name(); }

// "--output" of "-o,--output": the long name when there is one.
std::string PreferredName(const CLI::Option* o) {
  return o->get_lnames().empty() ? "-" + o->get_snames().front() : "--" + o->get_lnames().front();
}

std::string AllNames(const CLI::Option* o) {
  std::string s;
  for (const std::string& n : o->get_snames()) s += (s.empty() ? "-" : ", -") + n;
  for (const std::string& n : o->get_lnames()) s += (s.empty() ? "--" : ", --") + n;
  return s;
}

// The words after "telio" that name a command ("dump", "design link").
std::string CommandPath(const CLI::App& cmd) {
  std::string path;
  for (const CLI::App* a = &cmd; a && a->get_parent(); a = a->get_parent()) {
    path = path.empty() ? a->get_name() : a->get_name() + " " + path;
  }
  return path;
}

std::vector<const CLI::Option*> Options(const CLI::App& cmd) {
  std::vector<const CLI::Option*> out;
  for (const CLI::Option* o : cmd.get_options()) {
    if (!Hidden(o)) out.push_back(o);
  }
  return out;
}

std::vector<const CLI::App*> Subcommands(const CLI::App& cmd) {
  return cmd.get_subcommands([](const CLI::App*) { return true; });
}

// "dump FILE [--json] [--lc R]": arguments, then the options other than
// help; a command with commands of its own ends in "COMMAND ...".
std::vector<std::string> SynopsisWords(const CLI::App& cmd) {
  std::vector<std::string> words{CommandPath(cmd)};
  for (const CLI::Option* o : Options(cmd)) {
    if (IsPositional(o)) words.push_back(o->get_required() ? ArgName(o) : "[" + ArgName(o) + "]");
  }
  for (const CLI::Option* o : Options(cmd)) {
    if (IsPositional(o) || o == cmd.get_help_ptr()) continue;
    const std::string word = PreferredName(o) + (IsFlag(o) ? "" : " " + TypeName(o));
    words.push_back(o->get_required() ? word : "[" + word + "]");
  }
  if (!Subcommands(cmd).empty()) words.push_back("COMMAND ...");
  return words;
}

// Words filled into lines of at most kWidth; the first line starts at
// first, the others at rest.
std::string Fill(const std::vector<std::string>& words, size_t first, size_t rest) {
  std::string out(first, ' ');
  size_t column = first;
  bool lineEmpty = true;
  for (const std::string& w : words) {
    if (!lineEmpty && column + 1 + w.size() > kWidth) {
      out += '\n' + std::string(rest, ' ');
      column = rest;
      lineEmpty = true;
    }
    if (!lineEmpty) {
      out += ' ';
      ++column;
    }
    out += w;
    column += w.size();
    lineEmpty = false;
  }
  return out + '\n';
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// Paragraphs separated by blank lines; lines starting with two spaces
// stay as they are.
std::vector<std::string> Paragraphs(const std::string& text) {
  std::vector<std::string> out;
  std::string current;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.empty()) {
      if (!current.empty()) out.push_back(current);
      current.clear();
    } else {
      current += current.empty() ? line : "\n" + line;
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

bool IsVerbatim(const std::string& paragraph) { return paragraph.compare(0, 2, "  ") == 0; }

std::string Indented(const std::string& text, size_t indent) {
  std::string out;
  for (const std::string& p : Paragraphs(text)) {
    if (!out.empty()) out += '\n';
    if (IsVerbatim(p)) {
      std::istringstream in(p);
      for (std::string line; std::getline(in, line);) out += std::string(indent, ' ') + line + '\n';
    } else {
      out += Fill(Split(p), indent, indent);
    }
  }
  return out;
}

struct Entry {
  std::string term;
  std::string text;
};

Entry OptionEntry(const CLI::Option* o) {
  std::string term = IsPositional(o) ? ArgName(o) : AllNames(o) + (IsFlag(o) ? "" : " " + TypeName(o));
  std::string text = o->get_description();
  const std::string range = TypeRange(o);
  if (!range.empty()) text += " (" + range + ")";
  if (o->get_required()) text += " (required)";
  return {term, text};
}

// The arguments, then the options, then (for a command) the global options
// it takes too; help last.
std::vector<Entry> OptionEntries(const CLI::App& cmd, const CLI::App* root = nullptr) {
  std::vector<Entry> out;
  for (const CLI::Option* o : Options(cmd)) {
    if (IsPositional(o)) out.push_back(OptionEntry(o));
  }
  for (const CLI::Option* o : Options(cmd)) {
    if (!IsPositional(o) && o != cmd.get_help_ptr()) out.push_back(OptionEntry(o));
  }
  if (root) {
    for (const CLI::Option* o : Options(*root)) {
      if (!IsFlag(o)) out.push_back(OptionEntry(o));
    }
  }
  if (cmd.get_help_ptr()) out.push_back(OptionEntry(cmd.get_help_ptr()));
  return out;
}

// Terms in a column, their texts filled beside them.
std::string EntryList(const std::vector<Entry>& entries, size_t indent) {
  size_t column = 0;
  for (const Entry& e : entries) column = std::max(column, e.term.size());
  column = std::min<size_t>(column, 20) + indent + 2;
  std::string out;
  for (const Entry& e : entries) {
    std::string head = std::string(indent, ' ') + e.term;
    if (head.size() + 2 > column) {
      out += head + '\n' + Fill(Split(e.text), column, column);
    } else {
      std::string filled = Fill(Split(e.text), column, column);
      out += head + filled.substr(head.size());
    }
  }
  return out;
}

std::string RoffEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  // A line must not start with a control character.
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out = "\\&" + out;
  return out;
}

void RoffText(std::ostream& os, const std::string& text) {
  for (const std::string& p : Paragraphs(text)) {
    if (IsVerbatim(p)) {
      os << ".PP\n.nf\n.RS\n";
      std::istringstream in(p);
      for (std::string line; std::getline(in, line);) os << RoffEscape(line.substr(2)) << '\n';
      os << ".RE\n.fi\n";
    } else {
      std::string joined;
      for (const std::string& w : Split(p)) joined += (joined.empty() ? "" : " ") + w;
      os << ".PP\n" << RoffEscape(joined) << '\n';
    }
  }
}

void RoffEntries(std::ostream& os, const std::vector<Entry>& entries) {
  for (const Entry& e : entries) os << ".TP\n.B " << RoffEscape(e.term) << '\n' << RoffEscape(e.text) << '\n';
}

std::string Joined(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += (s.empty() ? "" : " ") + w;
  return s;
}

// How bash completes a value of this type name.
std::string CompletionKind(const std::string& type) {
  if (type == "DIR") return "dir";
  if (type == "FILE" || type == "PROJECT" || type == "PATH") return "file";
  if (type == "COMMAND") return "command";
  return "none";
}

void CollectApps(const CLI::App& app, std::vector<const CLI::App*>& out) {
  out.push_back(&app);
  for (const CLI::App* sub : Subcommands(app)) CollectApps(*sub, out);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

}  // namespace

std::string OverviewText(const ToolCli& cli) {
  std::ostringstream os;
  os << "telio " << ToolVersion() << ": " << kToolTitle << "\n\n";
  for (size_t i = 0; i < sizeof kUsage / sizeof kUsage[0]; ++i) {
    os << (i == 0 ? "Usage: " : "       ") << kUsage[i] << '\n';
  }
  os << "\nCommands:\n";
  // A command with commands of its own is listed by them ("design link").
  for (const CLI::App* sub : Subcommands(cli.app)) {
    std::vector<const CLI::App*> listed = Subcommands(*sub);
    if (listed.empty()) listed.push_back(sub);
    for (const CLI::App* cmd : listed) {
      os << Fill(SynopsisWords(*cmd), 2, 4 + CommandPath(*cmd).size());
      os << Fill(Split(cmd->get_description()), 6, 6);
    }
  }
  os << "\nOptions:\n" << EntryList(OptionEntries(cli.app), 2);
  os << '\n' << Fill(Split(kSuiteRule), 0, 0);
  os << "\nExit status: " << kExitStatusText << '\n';
  return os.str();
}

std::string CommandPage(const ToolCli& cli, const CLI::App& cmd) {
  std::ostringstream os;
  const std::string path = CommandPath(cmd);
  std::vector<std::string> name = Split(cmd.get_description());
  name.insert(name.begin(), {"telio", path, "-"});
  os << "NAME\n" << Fill(name, 4, 6) << '\n';
  os << "SYNOPSIS\n";
  std::vector<std::string> words = SynopsisWords(cmd);
  words.insert(words.begin(), "telio");
  os << Fill(words, 4, 10 + path.size()) << '\n';
  const Command* command = cli.CommandOf(cmd);
  if (command && cmd.get_parent() == &cli.app && !command->Description().empty()) {
    os << "DESCRIPTION\n" << Indented(command->Description(), 4) << '\n';
  }
  if (!Subcommands(cmd).empty()) {
    std::vector<Entry> subs;
    for (const CLI::App* s : Subcommands(cmd)) subs.push_back({s->get_name(), s->get_description()});
    os << "COMMANDS\n" << EntryList(subs, 4) << '\n';
  }
  os << "OPTIONS\n" << EntryList(OptionEntries(cmd, &cli.app), 4) << '\n';
  os << "EXIT STATUS\n    " << kExitStatusText << '\n';
  return os.str();
}

std::string ManPage(const ToolCli& cli) {
  std::ostringstream os;
  os << ".TH TELIO 1 \"\" \"telio " << ToolVersion() << "\" \"User Commands\"\n";
  os << ".SH NAME\ntelio \\- " << RoffEscape(kToolTitle) << '\n';
  os << ".SH SYNOPSIS\n.nf\n";
  for (const char* u : kUsage) os << RoffEscape(u) << '\n';
  os << ".fi\n.SH OPTIONS\n";
  RoffEntries(os, OptionEntries(cli.app));
  os << ".SH SUITE DATA FOLDER\n";
  RoffText(os, kSuiteRule);
  os << ".SH COMMANDS\n";
  std::vector<const CLI::App*> apps;
  CollectApps(cli.app, apps);
  for (const CLI::App* cmd : apps) {
    if (cmd == &cli.app) continue;
    os << ".SS \"" << RoffEscape(Joined(SynopsisWords(*cmd))) << "\"\n";
    RoffText(os, cmd->get_description());
    const Command* command = cli.CommandOf(*cmd);
    if (command && cmd->get_parent() == &cli.app) RoffText(os, command->Description());
    RoffEntries(os, OptionEntries(*cmd, &cli.app));
  }
  os << ".SH EXIT STATUS\n" << RoffEscape(kExitStatusText) << '\n';
  return os.str();
}

std::string BashCompletion(const ToolCli& cli) {
  std::vector<const CLI::App*> apps;
  CollectApps(cli.app, apps);
  std::ostringstream options, commands, args, values;
  for (const CLI::App* cmd : apps) {
    const std::string key = Quoted(CommandPath(*cmd));
    std::vector<std::string> names;
    std::string argKind = "none";
    for (const CLI::Option* o : Options(*cmd)) {
      if (IsPositional(o)) {
        if (argKind == "none") argKind = CompletionKind(TypeName(o));
        if (argKind == "none") argKind = CompletionKind(ArgName(o));
        continue;
      }
      for (const std::string& n : o->get_snames()) names.push_back("-" + n);
      for (const std::string& n : o->get_lnames()) names.push_back("--" + n);
      if (IsFlag(o)) continue;
      // Global options are taken after any command.
      const std::string where = cmd == &cli.app ? "*" : key;
      for (const std::string& n : o->get_lnames()) {
        values << "    " << where << "\"|--" << n << "\") echo " << CompletionKind(TypeName(o)) << " ;;\n";
      }
    }
    if (cmd != &cli.app) {
      for (const CLI::Option* o : Options(cli.app)) {
        if (!IsFlag(o) && o != cli.app.get_version_ptr()) {
          for (const std::string& n : o->get_lnames()) names.push_back("--" + n);
        }
      }
    }
    options << "    " << key << ") echo \"" << Joined(names) << "\" ;;\n";
    std::vector<std::string> subs;
    for (const CLI::App* s : Subcommands(*cmd)) subs.push_back(s->get_name());
    if (!subs.empty()) commands << "    " << key << ") echo \"" << Joined(subs) << "\" ;;\n";
    args << "    " << key << ") echo " << argKind << " ;;\n";
  }
  std::ostringstream os;
  os << "# bash completion for telio " << ToolVersion()
     << ", made by `telio completion` from the tool's command definitions.\n"
     << "\n_telio_options() {\n  case \"$1\" in\n" << options.str() << "  esac\n}\n"
     << "\n_telio_commands() {\n  case \"$1\" in\n" << commands.str() << "  esac\n}\n"
     << "\n_telio_args() {\n  case \"$1\" in\n" << args.str() << "    *) echo none ;;\n  esac\n}\n"
     << "\n# The kind of value an option takes; fails for an option without one.\n"
     << "_telio_value() {\n  case \"$1|$2\" in\n" << values.str() << "    *) return 1 ;;\n  esac\n}\n"
     << R"SH(
_telio_offer() {
  case "$1" in
    dir) mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
    file) mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
    command) mapfile -t COMPREPLY < <(compgen -W "$(_telio_commands "")" -- "$cur") ;;
    *) COMPREPLY=() ;;
  esac
  if [ -n "$2" ]; then
    mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -W "$2" -- "$cur")
  fi
}

_telio() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev="" path="" w i kind skip=0
  [ "$COMP_CWORD" -gt 0 ] && prev=${COMP_WORDS[COMP_CWORD-1]}
  # The command words so far; option values are skipped.
  for ((i = 1; i < COMP_CWORD; i++)); do
    w=${COMP_WORDS[i]}
    if [ "$skip" = 1 ]; then skip=0; continue; fi
    case "$w" in
      -*) _telio_value "$path" "$w" >/dev/null && skip=1; continue ;;
    esac
    case " $(_telio_commands "$path") " in
      *" $w "*) path=${path:+$path }$w ;;
    esac
  done
  if [ -n "$prev" ] && [[ $prev == -* ]] && kind=$(_telio_value "$path" "$prev"); then
    _telio_offer "$kind" ""
    return 0
  fi
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$(_telio_options "$path")" -- "$cur")
    return 0
  fi
  _telio_offer "$(_telio_args "$path")" "$(_telio_commands "$path")"
}

complete -o filenames -F _telio telio
)SH";
  return os.str();
}

namespace {

class HelpCommand : public Command {
 public:
  HelpCommand() : Command("help", "Print the page of a command, or the whole manual", kRankTool + 10) {}
  std::string Description() const override {
    return "Prints the page of a command (telio help dump; telio dump --help prints the same page), "
           "or without one the list of commands. --man prints the whole manual in man(7) format, as "
           "installed for man telio.";
  }
  void Define(CLI::App& cmd, ToolOptions&) override {
    cmd.add_option("COMMAND", words_, "The command (and a command of it)")->type_name("COMMAND");
    cmd.add_flag("--man", man_, "Print the manual in man(7) format");
  }
  int Run(const ToolOptions&) override {
    ToolCli cli;
    if (man_) {
      std::cout << ManPage(cli);
      return 0;
    }
    const CLI::App* cmd = &cli.app;
    for (const std::string& w : words_) {
      const CLI::App* next = nullptr;
      for (const CLI::App* s : Subcommands(*cmd)) {
        if (s->get_name() == w) next = s;
      }
      if (!next) {
        std::cerr << "telio: help: no command \"" << Joined(words_) << "\"; telio --help lists them\n";
        return 2;
      }
      cmd = next;
    }
    std::cout << (cmd == &cli.app ? OverviewText(cli) : CommandPage(cli, *cmd));
    return 0;
  }

 private:
  std::vector<std::string> words_;
  bool man_ = false;
};

class CompletionCommand : public Command {
 public:
  CompletionCommand() : Command("completion", "Print the shell completion script", kRankTool + 20) {}
  std::string Description() const override {
    return "Prints the bash completion script for telio; the installed tool has it in "
           "share/bash-completion/completions. To use it without installing:\n\n"
           "  source <(telio completion bash)";
  }
  void Define(CLI::App& cmd, ToolOptions&) override {
    cmd.add_option("SHELL", shell_, "The shell: bash (the default)")->type_name("SHELL");
  }
  int Run(const ToolOptions&) override {
    if (shell_ != "bash") {
      std::cerr << "telio: completion: no script for \"" << shell_ << "\" (bash only)\n";
      return 2;
    }
    ToolCli cli;
    std::cout << BashCompletion(cli);
    return 0;
  }

 private:
  std::string shell_ = "bash";
};

CommandRegistrar<HelpCommand> helpReg;
CommandRegistrar<CompletionCommand> completionReg;

}  // namespace

}  // namespace telio_tool
