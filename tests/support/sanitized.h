#pragma once
// ZARVIK_ADDRESS_SANITIZED is 1 in a build under the address sanitizer, which owns
// operator new, reserves terabytes of address space and runs many times slower: tests
// that depend on any of those ask. GCC says so with a macro, clang through
// __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define ZARVIK_ADDRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZARVIK_ADDRESS_SANITIZED 1
#endif
#endif
#ifndef ZARVIK_ADDRESS_SANITIZED
#define ZARVIK_ADDRESS_SANITIZED 0
#endif
