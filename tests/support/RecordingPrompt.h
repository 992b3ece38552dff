#pragma once
// The prompt most tests install: every message shown is kept, questions get
// `answer` (OK when empty), the colour dialog `colour` (cancelled when empty).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "services/Prompt.h"

namespace orvane::testing {

class CRecordingPrompt : public CPrompt {
  public:
    std::vector<std::string> shown;
    std::function<int(const std::string&)> answer;
    std::optional<uint32_t> colour;
    uint32_t colourAskedWith = 0;

    // Installed or not, it never outlives its place as the process's prompt.
    ~CRecordingPrompt() override {
        if (&Prompt() == this) SetPrompt(nullptr);
    }
    int MessageBox(const std::string& text, const std::string&, unsigned) override {
        shown.push_back(text);
        return answer ? answer(text) : IDOK;
    }
    std::optional<uint32_t> ChooseColour(uint32_t initial) override {
        colourAskedWith = initial;
        return colour;
    }
};

} // namespace orvane::testing
