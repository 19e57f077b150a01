#include "settings/numbered_list_save.h"

#include <deque>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "settings/numbered_keys.h"
#include "framework/profile_store.h"

namespace {

class SavePlanner {
public:
    SavePlanner(const std::map<int, std::string>& stored, const std::map<int, std::string>& wanted, int maxIndex)
        : current_(stored), wanted_(wanted), maxIndex_(maxIndex) {
        for (const auto& [index, value] : wanted_) {
            auto it = current_.find(index);
            if (it == current_.end() || it->second != value)
                pending_.insert(index);
        }
        // Who holds which value matters only for the values at stake: those to be written and
        // those they would overwrite. A save that changes a few of 10,000 items looks at few.
        std::unordered_set<std::string> atStake;
        for (int index : pending_) {
            atStake.insert(wanted_.at(index));
            auto it = current_.find(index);
            if (it != current_.end())
                atStake.insert(it->second);
        }
        for (const auto& [index, value] : current_) {
            if (atStake.count(value))
                holders_[value].insert(index);
        }
        for (const auto& [index, value] : wanted_) {
            if (atStake.count(value))
                wantedValues_.insert(value);
        }
    }

    std::vector<NumberedListStep> Plan() {
        for (int index : pending_)
            ready_.push_back(index);
        while (!pending_.empty()) {
            DrainReady();
            if (pending_.empty())
                break;
            if (!BreakCycle())
                ForceOne();
        }
        for (const auto& entry : current_) {
            if (!wanted_.count(entry.first))
                steps_.push_back({NumberedListStep::kDelete, entry.first, {}});
        }
        return steps_;
    }

private:
    // The value stored at index may go when it is unwanted or still held elsewhere.
    bool SafeToOverwrite(int index) const {
        auto it = current_.find(index);
        if (it == current_.end() || !wantedValues_.count(it->second))
            return true;
        return holders_.at(it->second).size() >= 2;
    }

    // Writes every pending index that is safe, and those that become safe on the way.
    void DrainReady() {
        while (!ready_.empty()) {
            int index = ready_.front();
            ready_.pop_front();
            if (pending_.count(index) && SafeToOverwrite(index))
                Write(index, wanted_.at(index));
        }
    }

    // A value written a second time makes the other indexes holding it safe to overwrite.
    void Write(int index, const std::string& value) {
        auto it = current_.find(index);
        if (it != current_.end())
            holders_[it->second].erase(index);
        current_[index] = value;
        std::set<int>& holders = holders_[value];
        holders.insert(index);
        pending_.erase(index);
        steps_.push_back({NumberedListStep::kWrite, index, value});
        for (int other : holders) {
            if (other != index && pending_.count(other))
                ready_.push_back(other);
        }
    }

    // Values that must trade places: copy one of them to a free index first.
    bool BreakCycle() {
        int spare = FreeIndex();
        if (spare < 0)
            return false;
        Write(spare, current_.at(*pending_.begin()));
        return true;
    }

    // No free index is left (the whole range is in use): write anyway rather than never finish.
    void ForceOne() {
        int index = *pending_.begin();
        Write(index, wanted_.at(index));
    }

    int FreeIndex() {
        while (nextFree_ <= maxIndex_ && (current_.count(nextFree_) || wanted_.count(nextFree_)))
            ++nextFree_;
        return nextFree_ <= maxIndex_ ? nextFree_ : -1;
    }

    std::map<int, std::string> current_;
    const std::map<int, std::string>& wanted_;
    int maxIndex_;
    std::unordered_set<std::string> wantedValues_;
    std::unordered_map<std::string, std::set<int>> holders_;
    std::set<int> pending_;
    std::deque<int> ready_;
    std::vector<NumberedListStep> steps_;
    int nextFree_ = 0;
};

// Whether every wanted value is stored at its index already: one walk over both sorted maps.
bool AllWantedStored(const std::map<int, std::string>& stored, const std::map<int, std::string>& wanted) {
    auto s = stored.begin();
    for (const auto& [index, value] : wanted) {
        while (s != stored.end() && s->first < index)
            ++s;
        if (s == stored.end() || s->first != index || s->second != value)
            return false;
    }
    return true;
}

std::vector<NumberedListStep> StaleDeletions(const std::map<int, std::string>& stored,
                                             const std::map<int, std::string>& wanted) {
    std::vector<NumberedListStep> steps;
    auto w = wanted.begin();
    for (const auto& entry : stored) {
        while (w != wanted.end() && w->first < entry.first)
            ++w;
        if (w == wanted.end() || w->first != entry.first)
            steps.push_back({NumberedListStep::kDelete, entry.first, {}});
    }
    return steps;
}

}  // namespace

std::vector<NumberedListStep> PlanNumberedListSave(const std::map<int, std::string>& stored,
                                                   const std::map<int, std::string>& wanted,
                                                   int maxIndex) {
    // The usual save at exit changes nothing, or only removes values.
    if (AllWantedStored(stored, wanted))
        return StaleDeletions(stored, wanted);
    return SavePlanner(stored, wanted, maxIndex).Plan();
}

void SaveNumberedList(ProfileStore& profile,
                      const std::string& section,
                      const std::string& prefix,
                      int maxIndex,
                      const std::map<int, std::string>& wanted) {
    std::map<int, std::string> stored;
    // Stored names that differ from the canonical one in case; deletions must use them.
    std::map<int, std::string> names;
    for (auto& [name, text] : profile.ReadSection(section)) {
        if (std::optional<int> index = ParseNumberedKey(name, prefix, maxIndex)) {
            stored[*index] = std::move(text);
            if (name != NumberedKey(prefix, *index))
                names[*index] = name;
        }
    }
    for (const NumberedListStep& step : PlanNumberedListSave(stored, wanted, maxIndex)) {
        if (step.kind == NumberedListStep::kWrite) {
            profile.WriteString(section, NumberedKey(prefix, step.index), step.value);
        } else {
            profile.DeleteValue(section, names.count(step.index) ? names[step.index] : NumberedKey(prefix, step.index));
        }
    }
}
