#include "device/bf.h"

#include <algorithm>

#include "device/protocol.h"

namespace bf {
namespace {

// The key schedule takes key bytes in turn for 18 words: more than 72 bytes
// are never reached, and no key at all is a key of zeros.
constexpr int kScheduleBytes = (_BLOWFISH_ROUNDS + 2) * 4;
constexpr uint8_t kNoKey[1] = {0};

BLOWFISH_CTX g_context;

using BlockOp = void (*)(const blowfish_ctx*, size_t, uint8_t*, const uint8_t*);

// nettle reads each half of a block most significant byte first.
void run_block(BlockOp op, const BLOWFISH_CTX* ctx, uint32_t* xl, uint32_t* xr) {
    uint8_t block[BLOWFISH_BLOCK_SIZE];
    for (int i = 0; i < 4; ++i) {
        block[i] = uint8_t(*xl >> (24 - 8 * i));
        block[4 + i] = uint8_t(*xr >> (24 - 8 * i));
    }
    op(&ctx->cipher, sizeof block, block, block);
    *xl = *xr = 0;
    for (int i = 0; i < 4; ++i) {
        *xl = (*xl << 8) | block[i];
        *xr = (*xr << 8) | block[4 + i];
    }
}

template <typename Op>
void for_each_block(uint8_t* buffer, uint32_t len, Op op) {
    for (uint32_t i = 0; i + proto::kCipherBlock <= len; i += proto::kCipherBlock) {
        uint32_t l = proto::get32(buffer + i);
        uint32_t r = proto::get32(buffer + i + 4);
        op(&g_context, &l, &r);
        proto::put32(buffer + i, l);
        proto::put32(buffer + i + 4, r);
    }
}

}  // namespace

void Blowfish_Encrypt(const BLOWFISH_CTX* ctx, uint32_t* xl, uint32_t* xr) {
    run_block(blowfish_encrypt, ctx, xl, xr);
}

void Blowfish_Decrypt(const BLOWFISH_CTX* ctx, uint32_t* xl, uint32_t* xr) {
    run_block(blowfish_decrypt, ctx, xl, xr);
}

void Blowfish_Init(BLOWFISH_CTX* ctx, const uint8_t* key, int keyLen) {
    // The result only flags keys whose S-boxes repeat an entry; such a key
    // still keys the cipher, as the board keys it.
    if (keyLen <= 0)
        blowfish_set_key(&ctx->cipher, sizeof kNoKey, kNoKey);
    else
        blowfish_set_key(&ctx->cipher, size_t(std::min(keyLen, kScheduleBytes)), key);
}

void init(const uint8_t* key, int keyLen) {
    Blowfish_Init(&g_context, key, keyLen);
}

void init(const uint8_t* key) {
    init(key, proto::kKeyLength);
}

void crypt_data(uint8_t* buffer, uint32_t len) {
    for_each_block(buffer, len, Blowfish_Encrypt);
}

}  // namespace bf
