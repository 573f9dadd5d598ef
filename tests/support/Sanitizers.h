#pragma once

// Whether the tests run in the sanitizer build, where reading is several
// times slower and the strict string checks make every C string scan read to
// the end of its buffer. Bounds on time are for the plain build.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_TEST_UNDER_SANITIZERS 1
#endif
#endif
#if !defined(QV_TEST_UNDER_SANITIZERS) && defined(__SANITIZE_ADDRESS__)
#define QV_TEST_UNDER_SANITIZERS 1
#endif

namespace qv::test {

#ifdef QV_TEST_UNDER_SANITIZERS
inline constexpr bool kUnderSanitizers = true;
#else
inline constexpr bool kUnderSanitizers = false;
#endif

} // namespace qv::test
