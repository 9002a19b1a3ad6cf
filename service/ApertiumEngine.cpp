#include "ApertiumEngine.h"

#include "ApertiumText.h"

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
    // A NUL would end the exchange with the warm pipeline early.
    std::string current(text);
    std::erase(current, '\0');
    for (const std::filesystem::path& modeFile : route) {
        IoResult step = translateOneStep(pipelineFor(modeFile), current, deadline);
        if (step.status != IoStatus::done) {
            return step;
        }
        current = std::move(step.output);
    }
    return IoResult{IoStatus::done, std::move(current)};
}

IoResult ApertiumEngine::translateOneStep(ApertiumPipeline& pipeline, std::string_view text,
                                          Deadline deadline)
{
    IoResult translated = pipeline.translate(deformatText(text), deadline);
    if (translated.status == IoStatus::done) {
        translated.output = reformatText(translated.output);
    }
    return translated;
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
