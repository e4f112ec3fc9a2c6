#include "device/bf.h"

#include <cstring>
#include <utility>

#include "device/protocol.h"

namespace bf {
namespace {

constexpr int kRounds = 16;

uint32_t F(const BLOWFISH_CTX* ctx, uint32_t x) {
    return ((ctx->S[0][x >> 24] + ctx->S[1][(x >> 16) & 0xFF]) ^ ctx->S[2][(x >> 8) & 0xFF]) +
           ctx->S[3][x & 0xFF];
}

BLOWFISH_CTX g_context;

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
    uint32_t l = *xl, r = *xr;
    for (int i = 0; i < kRounds; ++i) {
        l ^= ctx->P[i];
        r ^= F(ctx, l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= ctx->P[kRounds];
    l ^= ctx->P[kRounds + 1];
    *xl = l;
    *xr = r;
}

void Blowfish_Decrypt(const BLOWFISH_CTX* ctx, uint32_t* xl, uint32_t* xr) {
    uint32_t l = *xl, r = *xr;
    for (int i = kRounds + 1; i > 1; --i) {
        l ^= ctx->P[i];
        r ^= F(ctx, l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= ctx->P[1];
    l ^= ctx->P[0];
    *xl = l;
    *xr = r;
}

void Blowfish_Init(BLOWFISH_CTX* ctx, const uint8_t* key, int keyLen) {
    std::memcpy(ctx->S, kInitialS, sizeof ctx->S);
    int k = 0;
    for (int i = 0; i < kRounds + 2; ++i) {
        uint32_t word = 0;
        for (int j = 0; j < 4; ++j) {
            word = (word << 8) | (keyLen > 0 ? key[k] : 0);
            if (keyLen > 0 && ++k >= keyLen) k = 0;
        }
        ctx->P[i] = kInitialP[i] ^ word;
    }
    uint32_t l = 0, r = 0;
    for (int i = 0; i < kRounds + 2; i += 2) {
        Blowfish_Encrypt(ctx, &l, &r);
        ctx->P[i] = l;
        ctx->P[i + 1] = r;
    }
    for (auto& box : ctx->S) {
        for (int j = 0; j < 256; j += 2) {
            Blowfish_Encrypt(ctx, &l, &r);
            box[j] = l;
            box[j + 1] = r;
        }
    }
}

BLOWFISH_CTX& context() {
    return g_context;
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

void decrypt_data(uint8_t* buffer, uint32_t len) {
    for_each_block(buffer, len, Blowfish_Decrypt);
}

}  // namespace bf
