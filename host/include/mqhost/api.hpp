// Export macro of the replacement host's control interface.
#pragma once

#if defined(_WIN32)
#if defined(MQHOST_BUILDING)
#define MQHOST_API __declspec(dllexport)
#else
#define MQHOST_API __declspec(dllimport)
#endif
#define MQHOST_EXPORT_C extern "C" __declspec(dllexport)
#else
#define MQHOST_API __attribute__((visibility("default")))
#define MQHOST_EXPORT_C extern "C" __attribute__((visibility("default")))
#endif
