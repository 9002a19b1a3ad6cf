#include "ApertiumEngine.h"

#include "ApertiumText.h"
#include "TextPieces.h"

#include <algorithm>
#include <string>
#include <utility>

namespace orbelin::service {

ApertiumEngine::ApertiumEngine(ModeCatalog catalog) : catalog_(std::move(catalog)) {}

bool ApertiumEngine::supports(Language source, Language target) const
{
    return !catalog_.route(source, target).empty();
}

void ApertiumEngine::abortAll() noexcept
{
    const std::lock_guard lock(pipelinesMutex_);
    aborted_ = true;
    for (const auto& [modeFile, pipeline] : pipelines_) {
        pipeline->abort();
    }
}

IoResult ApertiumEngine::translate(Language source, Language target, std::string_view text,
                                   Deadline deadline)
{
    const std::vector<std::filesystem::path> route = catalog_.route(source, target);
    if (route.empty()) {
        return IoResult{IoStatus::failed, {}};
    }
    std::vector<std::string> pieces;
    for (const std::string_view piece : splitIntoPieces(text, pieceBytes)) {
        // A NUL would end a piece's exchange with the warm pipeline early.
        std::string plain(piece);
        std::erase(plain, '\0');
        pieces.push_back(std::move(plain));
    }
    for (const std::filesystem::path& modeFile : route) {
        for (std::string& piece : pieces) {
            piece = deformatText(piece);
        }
        PiecesResult step = pipelineFor(modeFile).translate(pieces, deadline);
        if (step.status != IoStatus::done) {
            return IoResult{step.status, {}};
        }
        pieces = std::move(step.answers);
        for (std::string& piece : pieces) {
            piece = reformatText(piece);
        }
    }
    IoResult result{IoStatus::done, {}};
    for (std::string& piece : pieces) {
        result.output.append(piece);
        std::string().swap(piece);  // a long text is not held twice
    }
    return result;
}

ApertiumPipeline& ApertiumEngine::pipelineFor(const std::filesystem::path& modeFile)
{
    const std::lock_guard lock(pipelinesMutex_);
    std::unique_ptr<ApertiumPipeline>& pipeline = pipelines_[modeFile];
    if (!pipeline) {
        pipeline = std::make_unique<ApertiumPipeline>(modeFile);
        if (aborted_) {
            pipeline->abort();
        }
    }
    return *pipeline;
}

}  // namespace orbelin::service
