// Level 5: menu picks on random scenes with a random scripted user, each
// followed by the checks of a pick (see PickRunner::Pick).
#pragma once

#include <string>
#include <vector>

#include "document_view.hpp"
#include "mqhost/clipboard.hpp"
#include "mqhost/widgets.hpp"
#include "options.hpp"
#include "plugin_exports.hpp"
#include "report.hpp"
#include "rng.hpp"
#include "user_script.hpp"

namespace validator {

struct PickFacts;

class PickRunner {
 public:
  PickRunner(const PluginExports& api, Report& report, std::string settingsPath);

  // One menu pick on `document` (the caller keeps it), played by `script`,
  // with the settings loaded from and saved to the settings file around it
  // as the host modeller does at start and exit. Then the checks: no protocol
  // error; every widget deleted; no frame holds NaN or infinity; no frame the
  // plug-in wrote is singular unless a singular frame went in; a false result
  // leaves the document as it was; a true result only after OK; vertices move
  // only with "Trans(&f)orm" on, and then to where the compensation puts them;
  // the centre operations put the origin at the bounding-box centre; the
  // settings file is well-formed XML with the plug-in's eight keys.
  void Pick(DocumentHandle document, const std::vector<mqhost::UserAction>& script, Rng& rng,
            const std::string& label, bool trace = false);

  // Puts `prefix` before the name of every check the picks record, so that
  // a stage's picks are told apart from the level-5 picks.
  void SetCheckPrefix(std::string prefix) { prefix_ = std::move(prefix); }

 private:
  void CheckMotion(const PickFacts& facts, const std::string& label);
  bool Tally(const std::string& name, bool ok, const std::string& detail);

  const PluginExports& api_;
  Report& report_;
  std::string settingsPath_;
  std::string prefix_;
#ifndef MQHOST_OFFERS_CLIPBOARD
  // Whether the system clipboard may hold a singular frame (it was last
  // copied from one); a paste may then write it.
  bool clipboardMaySingular_ = false;
#endif
};

// What the dialog's reference list will hold for this document.
ReferenceList ListOf(const DocumentCopy& document);

void RunRandomPicks(const Options& options, const PluginExports& api, Report& report);

}  // namespace validator
