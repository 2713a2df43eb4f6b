#pragma once
#include <array>
#include <cstdint>
#include <span>

// SHA-256 of a file's content: what a verdict on the content is kept under. A file made to
// look like one tried before would have to collide with it in SHA-256.
using Digest = std::array<std::uint8_t, 32>;
Digest Sha256(std::span<const std::uint8_t> bytes);
