// Whether the tests run in the sanitizer build, whose runtime needs address
// space and file descriptors of its own: tests that take those away from a
// program skip there.
#pragma once

namespace depmill_testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

}  // namespace depmill_testing
