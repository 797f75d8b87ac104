// One check per reader of outside bytes, shared by the libFuzzer targets and the replay of
// fuzz/corpus in the unit tests: the real loader runs on a small known model, then the
// model must be well formed and, when the load was refused, unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum class FuzzTarget { Model, Stl, Part, Settings, Prompt, Obj, Ply };

// The target whose corpus folder (fuzz/corpus/<name>) and executable (<name>_fuzz) carry
// this name: "model", "stl", "part", "settings", "prompt", "obj", "ply". False for an unknown name.
bool fuzzTargetByName(std::string_view name, FuzzTarget& out);

// Runs the target's reader on the bytes. Empty when everything held, otherwise the fault.
std::string runFuzzCheck(FuzzTarget target, const uint8_t* data, size_t size);

// Runs the check and traps on a fault (after printing it), so the fuzzer keeps the input.
int fuzzOne(FuzzTarget target, const uint8_t* data, size_t size);
