#pragma once
// The current time in seconds, as the model sees it: the seed of every
// time-seeded generator. Tests replace the source to make such draws repeatable.

#include <cstdint>

using TimeSource = std::int64_t (*)();

std::int64_t CurrentTimeSeconds();
// Installs another source of the time; null restores the system clock.
void SetTimeSource(TimeSource source);
