#pragma once

#include <nettle/blowfish.h>

#include <cstdint>

namespace bf {

// The published cipher, as Debian's nettle implements it.
struct BLOWFISH_CTX {
    blowfish_ctx cipher;
};

void Blowfish_Init(BLOWFISH_CTX* ctx, const uint8_t* key, int keyLen);
void Blowfish_Encrypt(const BLOWFISH_CTX* ctx, uint32_t* xl, uint32_t* xr);
void Blowfish_Decrypt(const BLOWFISH_CTX* ctx, uint32_t* xl, uint32_t* xr);  // the board's side

// The process-wide context is keyed per flash-writing job.
void init(const uint8_t* key, int keyLen);
void init(const uint8_t* key);  // exactly 8 key bytes

// In place, 8 bytes at a time, each half least significant byte first.
// A trailing part shorter than 8 bytes is left unchanged.
void crypt_data(uint8_t* buffer, uint32_t len);

}  // namespace bf
