// shared helpers
