// `telio design import JOB.MDD|JOB.MDL -o PROJECT.MDP` and `telio design
// link ANALYSIS_JOB -o PROJECT.MDP`: design projects made from a
// member-design job, or linked to an analysis job with one member per
// physical beam of its topology.
#include <iostream>
#include <string>

#include "Command.h"
#include "DesignProject.h"
#include "Progress.h"
#include "mdd/FileMDP.h"
#include "objects/data/CILinkJobData.h"

namespace telio_tool {
namespace {

using MDD_OBJECTS::CMDDMembersArray;
using MDD_OBJECTS::FileMDP;

// The files of a linked job that are missing, by their status bits.
std::string MissingFiles(unsigned long status) {
  static const struct {
    unsigned long bit;
    const char* kind;
  } kFiles[] = {{TELMARO_DATA_OBJECTS::kLinkMissingAJF, "project"}, {TELMARO_DATA_OBJECTS::kLinkMissingTOP, "TOP"},
                {TELMARO_DATA_OBJECTS::kLinkMissingRES, "RES"},     {TELMARO_DATA_OBJECTS::kLinkMissingCMI, "CMI"},
                {TELMARO_DATA_OBJECTS::kLinkMissingNAM, "NAM"},     {TELMARO_DATA_OBJECTS::kLinkMissingJOB, "JOB"},
                {TELMARO_DATA_OBJECTS::kLinkMissingOUC, "OUC"}};
  std::string out;
  for (const auto& f : kFiles) {
    if (status & f.bit) out += (out.empty() ? "" : ", ") + std::string(f.kind);
  }
  return out;
}

int Finish(FileMDP& mdp, const std::string& source, const std::string& output, const char* kind,
           const ToolOptions& opt) {
  const unsigned long code = mdp.Export(output.c_str());
  if (code != 0) {
    ReportFileError(output, code);
    return 1;
  }
  CMDDMembersArray& project = *mdp.GetMembersArray();
  Json out;
  out["schema_version"] = kSchemaVersion;
  out["kind"] = kind;
  out["project"] = output;
  out["source"] = source;
  out.update(ProjectSummary(project));
  out["invalid_members"] = ValidateMembers(project).size();
  PrintResult(out, opt);
  return 0;
}

class DesignCommand : public Command {
 public:
  DesignCommand()
      : Command("design", "Make a design project from a member-design job or an analysis job", kRankDesign + 10) {}
  std::string Description() const override {
    return "design import reads a member-design job (MDD or MDL with its side files) into a new design "
           "project: job data, load cases, members with their sections, grades, geometry, forces, "
           "restraints and buckling points, and for an MDL job the purlin data of its TGD file. A linked job "
           "whose analysis job can be used takes its load cases and geometry from that job.\n\n"
           "design link makes a design project linked to an analysis job, with one member per physical beam "
           "of its topology; each member takes its section from the topology and the forces of its "
           "intermediate points from the job's results.\n\n"
           "Both write the project (MDP) and print its summary; telio check PROJECT.MDP then validates every "
           "member against the topology.\n\n"
           "  telio design import Hall.AJF/Hall.MDD -o Hall.MDP\n"
           "  telio design link Hall.AJF -o Hall.MDP";
  }
  void Define(CLI::App& cmd, ToolOptions& opt) override {
    import_ = cmd.add_subcommand("import", "Import a member-design job into a design project");
    import_->add_option("JOB", job_, "The member-design job NAME.MDD or NAME.MDL")->required()->type_name("FILE");
    import_->add_option("-o,--output", output_, "The design project to write (NAME.MDP)")
        ->required()
        ->type_name("FILE");
    AddJsonFlag(*import_, opt);
    link_ = cmd.add_subcommand("link", "Link a new design project to an analysis job");
    link_->add_option("JOB", job_, "The analysis job, its project folder NAME.AJF")->required()->type_name("PROJECT");
    link_->add_option("-o,--output", output_, "The design project to write (NAME.MDP)")
        ->required()
        ->type_name("FILE");
    AddJsonFlag(*link_, opt);
    cmd.require_subcommand(1);
  }
  int Run(const ToolOptions& opt) override { return import_->parsed() ? Import(opt) : Link(opt); }

 private:
  int Import(const ToolOptions& opt) {
    const std::string ext = UpperExtension(job_);
    if (ext != "MDD" && ext != "MDL") {
      std::cerr << "telio: design import: " << job_ << ": not a member-design job (MDD or MDL)\n";
      return 2;
    }
    FileMDP mdp;
    const int code = ImportDesignJob(mdp, job_);
    if (code != 0) {
      ReportFileError(job_, static_cast<unsigned long>(code));
      return 1;
    }
    return Finish(mdp, job_, output_, "design_import", opt);
  }

  int Link(const ToolOptions& opt) {
    FileMDP mdp;
    if (!mdp.NewFileLinked(AbsoluteJobPath(job_).c_str())) {
      ReportFileError(job_, 8);
      return 1;
    }
    CMDDMembersArray& project = *mdp.GetMembersArray();
    if (!project.IsValidLink()) {
      const unsigned long status = project.GetLinkJobData()->Type();
      std::cerr << "telio: design link: " << job_ << ": the analysis job cannot be linked"
                << (status ? " (missing: " + MissingFiles(status) + ")" : std::string()) << '\n';
      return 1;
    }
    if (!project.GetTopoRec()) {
      std::cerr << "telio: design link: " << job_ << ": the analysis job's files cannot be read\n";
      return 1;
    }
    {
      ProgressLine progress("design");
      AddMembersFromPhysicalBeams(project, progress.Fn());
    }
    return Finish(mdp, job_, output_, "design_link", opt);
  }

  CLI::App* import_ = nullptr;
  CLI::App* link_ = nullptr;
  std::string job_;
  std::string output_;
};

CommandRegistrar<DesignCommand> reg;

}  // namespace
}  // namespace telio_tool
