function save_write(d, size, unused) {
  local v = buffer_take(d);
  cpu_write(d, 0x0000, 0x0A, 0xA000, v);
  print(cpu_read_byte(d, 0xA000));
}
