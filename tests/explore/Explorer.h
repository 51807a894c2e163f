#pragma once

#include <string>
#include <vector>

#include "Scenario.h"
#include "ground/Events.h"

namespace fw::explore {

inline constexpr const char* kDownloadComplete = "Download complete.";

inline bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// What the listeners were told: the record and fwupgrade must never be told
// of a success the projector cannot back, and every start must be told its
// end. The boxes shown, status lines aside.
struct ToldEndings final : EventSink {
    void tell(const Event& event) override
    {
        if (std::holds_alternative<OperationStarted>(event)) ++open;
        if (const auto* ended = std::get_if<OperationEnded>(&event)) {
            --open;
            if (ended->operation == Operation::Upgrade) upgrades.push_back(ended->reason);
        }
        if (const auto* shown = std::get_if<MessageShown>(&event); shown && shown->kind != MessageKind::Status)
            boxes.push_back(shown->text);
    }
    // What was told against what the projector holds, each broken promise said.
    template <typename Violated>
    void check(bool bothImagesWhole, Violated violated) const
    {
        for (const Reason reason : upgrades)
            if (reason == Reason::None && !bothImagesWhole) violated("an upgrade told as succeeded without both images");
        if (open != 0) violated("an operation told as started never told its end");
    }
    int open = 0;
    std::vector<Reason> upgrades;
    std::vector<std::string> boxes;
};

// The package every run uses: written once, named by absolute paths.
struct SharedPackage {
    std::string folder;
    std::string listFile;
    std::string scalerImage;
    std::string upBytes;
    std::string scalerBytes;
};

SharedPackage makeSharedPackage(const std::string& folder);

struct Verdict {
    std::vector<std::string> violations;  // empty when every promise held
    std::vector<std::string> messages;    // every box, in order
    double virtualSeconds = 0;
};

// Runs the scenario's flows on the virtual clock and checks what the
// technician must be able to rely on, whatever the projector does.
Verdict runScenario(const Scenario& scenario, const SharedPackage& package);

} // namespace fw::explore
