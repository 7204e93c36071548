#pragma once

#include "store/datafolder.h"

#include <functional>
#include <QString>

namespace quillon {

// The first build of the search index of a catalogue made before it had one
// (or after a repair threw it away): a batch of songs per transaction, so
// that the program's own writes get their turn in between and what was
// built survives an interruption; the repositories keep whatever is built
// in step meanwhile. Media, devices and the notebook are small and built in
// one step each.
class SearchBuild final {
public:
    explicit SearchBuild(const DataFolder& folder);

    // True when every part of the index is complete.
    bool complete();
    // Builds what is missing. progress(done, total) after each step; a
    // false return stops the build (to go on later). False on a failure.
    bool run(const std::function<bool(qint64 done, qint64 total)>& progress = {});
    // Marks every part as not built, so that the next run builds it anew.
    bool invalidate();
    QString lastError() const { return m_error; }

    // Songs per transaction.
    static constexpr int kBatch = 100;

private:
    bool buildSongs(const std::function<bool(qint64, qint64)>& progress, qint64* done,
                    qint64 total);
    bool buildSmallPart(int part);

    DataFolder m_folder;
    QString m_error;
};

} // namespace quillon
