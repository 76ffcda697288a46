#include "tests/support/stand_in_processes.h"

#include <fstream>
#include <iterator>

namespace quenmark {

bool StandInProcesses::findsProgram(const std::filesystem::path&, const std::string&) {
    return lynxFound;
}

void StandInProcesses::endLeftoverBatch(const std::filesystem::path&) {
    ++leftoversEnded;
}

bool StandInProcesses::startBatch(const std::filesystem::path& mainFolder,
                                  const std::string& batchFile) {
    ++batches;
    std::ifstream in(mainFolder / batchFile, std::ios::binary);
    batchSeen.assign(std::istreambuf_iterator<char>(in), {});
    return batchStarts;
}

bool StandInProcesses::batchRunning() {
    return running;
}

void StandInProcesses::endBatch() {
    ++batchesEnded;
    running = false;
}

bool StandInProcesses::startUpload(const std::filesystem::path&, const std::string&,
                                   UploadEndHandler ended) {
    ++uploads;
    uploadEnded = std::move(ended);
    return uploadStarts;
}

RunLock::Result StandInLock::take(const std::filesystem::path&) {
    if (heldElsewhere)
        return Result::Busy;
    held = true;
    return Result::Taken;
}

void StandInLock::release() {
    held = false;
}

} // namespace quenmark
