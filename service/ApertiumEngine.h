// Apertium translation between the client's European languages: one warm
// pipeline per mode, pairs without a mode going through Spanish. A text goes
// in as pieces (see TextPieces), which take turns with other requests'.
#pragma once

#include "ApertiumModes.h"
#include "ApertiumPipeline.h"
#include "Languages.h"
#include "PipeIo.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>

namespace orbelin::service {

class ApertiumEngine {
public:
    explicit ApertiumEngine(ModeCatalog catalog);

    bool supports(Language source, Language target) const;

    // Ends every running pipeline, for a quick shutdown.
    void abortAll() noexcept;

    // The longest piece a text is cut into.
    static constexpr std::size_t pieceBytes = 2048;

    // done: output holds the plain translation.
    IoResult translate(Language source, Language target, std::string_view text, Deadline deadline);

private:
    ApertiumPipeline& pipelineFor(const std::filesystem::path& modeFile);

    const ModeCatalog catalog_;
    std::mutex pipelinesMutex_;
    bool aborted_ = false;  // guarded by pipelinesMutex_
    std::map<std::filesystem::path, std::unique_ptr<ApertiumPipeline>> pipelines_;
};

}  // namespace orbelin::service
