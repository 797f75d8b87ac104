// A seeded random session through the headless editor: keys from the whole key set, Alt held
// and released, mouse moves, clicks and drags, and file names typed into prompts, with the
// model checked after every pass: sound, and, whenever undo or redo reaches a model state seen
// before, equal to it row for row. Sessions that end (Quit, or a modal wait whose script ran
// dry) are followed by fresh ones until the events are used up.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

struct MonkeyReport {
  int64_t events = 0;    // events generated
  int64_t passes = 0;    // main-loop passes run
  int64_t sessions = 0;  // editors started
  int64_t undos = 0;     // passes that stepped back to an earlier model state
  int64_t redos = 0;     // passes that stepped forward to a state seen before
  std::string fault;     // empty, or the first fault with its seed and event index
};

// Runs `events` random events from `seed` inside `folder` (files are created there; the
// working folder is changed for the run and restored).
MonkeyReport runMonkey(uint64_t seed, int64_t events, const std::filesystem::path& folder);
