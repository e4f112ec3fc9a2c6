<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BackupList</name>
    <message>
        <source>kept</source>
        <translation>已保存</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>文件不见了</translation>
    </message>
    <message>
        <source>changed since it was kept</source>
        <translation>保存后已被修改</translation>
    </message>
    <message>
        <source>Restore a backup</source>
        <translation>恢复备份</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>标题</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>CRC32</source>
        <translation>CRC32</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Restore...</source>
        <translation>恢复...</translation>
    </message>
</context>
<context>
    <name>CameraGallery</name>
    <message>
        <source>Pocket Camera photos</source>
        <translation>Pocket Camera 照片</translation>
    </message>
    <message>
        <source>Save as PNG...</source>
        <translation>保存为 PNG...</translation>
    </message>
    <message>
        <source>Save photo</source>
        <translation>保存照片</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG 图像 (*.png)</translation>
    </message>
    <message>
        <source>Saved %1.</source>
        <translation>已保存 %1。</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>无法写入 %1。</translation>
    </message>
</context>
<context>
    <name>CameraPhotos</name>
    <message>
        <source>Deleted photo in slot %1</source>
        <translation>槽位 %1 中已删除的照片</translation>
    </message>
    <message>
        <source>Photo %1 (slot %2)</source>
        <translation>照片 %1（槽位 %2）</translation>
    </message>
    <message>
        <source>The album's list failed its check; its copy is used.</source>
        <translation>相册列表未通过校验；改用其副本。</translation>
    </message>
    <message>
        <source>The album's list and its copy fail their checks: the photos are in slot order, and deleted ones among them.</source>
        <translation>相册列表及其副本均未通过校验：照片按槽位顺序排列，其中包括已删除的照片。</translation>
    </message>
    <message>
        <source>The save holds no photos.</source>
        <translation>存档中没有照片。</translation>
    </message>
    <message>
        <source>Empty slots: %1</source>
        <translation>空槽位：%1</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes; a Pocket Camera save holds %3.</source>
        <translation>%1 有 %2 字节；Pocket Camera 的存档为 %3 字节。</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
    <message>
        <source>%1 is there already; no photo was written.</source>
        <translation>%1 已存在；未写入任何照片。</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>无法写入 %1。</translation>
    </message>
    <message>
        <source>Pictures written: %1</source>
        <translation>已写出图像：%1</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 不是普通文件。</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>无法编码图片</translation>
    </message>
</context>
<context>
    <name>FamicomThread</name>
    <message>
        <source>Nintendo logo: holds.</source>
        <translation>任天堂标志：正确。</translation>
    </message>
    <message>
        <source>Nintendo logo: does not hold.</source>
        <translation>任天堂标志：不正确。</translation>
    </message>
    <message>
        <source>Header checksum %1: holds.</source>
        <translation>头部校验和 %1：正确。</translation>
    </message>
    <message>
        <source>Header checksum: does not hold (the header says %1, the bytes give %2).</source>
        <translation>头部校验和：不正确（头部记录为 %1，数据计算为 %2）。</translation>
    </message>
    <message>
        <source>Global checksum %1: holds.</source>
        <translation>全局校验和 %1：正确。</translation>
    </message>
    <message>
        <source>Global checksum: does not hold (the header says %1, the image gives %2).</source>
        <translation>全局校验和：不正确（头部记录为 %1，镜像计算为 %2）。</translation>
    </message>
    <message>
        <source>Fixed byte %1 at 0xB2: holds.</source>
        <translation>0xB2 处的固定字节 %1：正确。</translation>
    </message>
    <message>
        <source>Fixed byte at 0xB2: does not hold (%1 expected, %2 found).</source>
        <translation>0xB2 处的固定字节：不正确（应为 %1，实为 %2）。</translation>
    </message>
    <message>
        <source>Header complement check %1: holds.</source>
        <translation>头部补码校验 %1：正确。</translation>
    </message>
    <message>
        <source>Header complement check: does not hold (the header says %1, the bytes give %2).</source>
        <translation>头部补码校验：不正确（头部记录为 %1，数据计算为 %2）。</translation>
    </message>
    <message>
        <source>Clean the cartridge's contacts and dump it again.</source>
        <translation>请清洁卡带触点后重新读取。</translation>
    </message>
    <message>
        <source>Dump: %1 bytes, CRC32 %2, SHA-1 %3.</source>
        <translation>读取结果：%1 字节，CRC32 %2，SHA-1 %3。</translation>
    </message>
    <message>
        <source>Verified: the known good dump of %1 (%2, %3).</source>
        <translation>已验证：与 %1 的已知正确镜像一致（%2，%3）。</translation>
    </message>
    <message>
        <source>Warning: this dump differs from every known dump of the cartridge %1 (%2 in the database), so it is probably a bad read.</source>
        <translation>警告：此镜像与卡带 %1 的所有已知镜像（数据库中 %2 个）都不同，很可能读取有误。</translation>
    </message>
    <message>
        <source>Not in the database of known dumps: the verdict rests on the checksums, and they hold.</source>
        <translation>不在已知镜像数据库中：判断依据为校验和，校验和正确。</translation>
    </message>
    <message>
        <source>Not in the database of known dumps, and its checksums do not hold, so it is probably a bad read.</source>
        <translation>不在已知镜像数据库中，且校验和不正确，很可能读取有误。</translation>
    </message>
    <message>
        <source>Can not found device.</source>
        <translation>找不到设备。</translation>
    </message>
    <message>
        <source>Initialize device error.</source>
        <translation>设备初始化错误。</translation>
    </message>
    <message>
        <source>The image file must hold 1 byte to %1.</source>
        <translation>镜像文件的大小必须在 1 字节到 %1 之间。</translation>
    </message>
    <message>
        <source>The board's serial number could not be read; the cartridge is read back after programming to check what was written.</source>
        <translation>无法读取读卡器的序列号；写入后将回读卡带以检查写入的内容。</translation>
    </message>
    <message>
        <source>Nothing to transfer: the size is 0.</source>
        <translation>无需传输：大小为 0。</translation>
    </message>
    <message>
        <source>Not enough memory for %1 bytes.</source>
        <translation>内存不足，无法分配 %1 字节。</translation>
    </message>
    <message>
        <source>Read file :</source>
        <translation>读取文件：</translation>
    </message>
    <message>
        <source>Open File error.</source>
        <translation>打开文件错误。</translation>
    </message>
    <message>
        <source>Read File error.</source>
        <translation>读取文件错误。</translation>
    </message>
    <message>
        <source>Read </source>
        <translation>已读取 </translation>
    </message>
    <message>
        <source> Bytes</source>
        <translation> 字节</translation>
    </message>
    <message>
        <source>Transferred %1 of %2 bytes.</source>
        <translation>已传输 %1 / %2 字节。</translation>
    </message>
    <message>
        <source>Save file error.</source>
        <translation>保存文件错误。</translation>
    </message>
    <message>
        <source>The save carries the cartridge's clock: it is set %1.</source>
        <translation>存档包含卡带时钟：时钟已设为%1。</translation>
    </message>
    <message>
        <source>as saved (halted)</source>
        <translation>存档时的时间（已停止）</translation>
    </message>
    <message>
        <source>the save could not be read</source>
        <translation>无法读取存档</translation>
    </message>
    <message>
        <source>The cartridge's save could not be backed up (%1); nothing was written.</source>
        <translation>无法备份卡带存档（%1）；未写入任何内容。</translation>
    </message>
    <message>
        <source>Backed up the cartridge's save to %1</source>
        <translation>已将卡带存档备份到 %1</translation>
    </message>
    <message>
        <source>Start verify data...</source>
        <translation>开始校验数据...</translation>
    </message>
    <message>
        <source>Verify data error: the cartridge could not be read a second time.</source>
        <translation>校验数据错误：无法再次读取卡带。</translation>
    </message>
    <message>
        <source>Verify data finish.</source>
        <translation>校验数据完成。</translation>
    </message>
    <message>
        <source>Verify data error: the data could not be read back.</source>
        <translation>校验数据错误：无法回读数据。</translation>
    </message>
    <message>
        <source>Verify data error at 0x%1: wrote 0x%2, read 0x%3.</source>
        <translation>校验数据错误，位置 0x%1：写入 0x%2，读出 0x%3。</translation>
    </message>
    <message>
        <source>Canceled.</source>
        <translation>已取消。</translation>
    </message>
    <message>
        <source>%1 became shorter after it was chosen; nothing was written.</source>
        <translation>%1 在选择后变短了；没有写入任何内容。</translation>
    </message>
    <message>
        <source>%1 grew while it was read; nothing was erased or written.</source>
        <translation>%1 在读取时变大了；没有擦除或写入任何内容。</translation>
    </message>
    <message>
        <source>The image %1 of %2 is larger than the %3 this cartridge takes; nothing was erased or written.</source>
        <translation>映像 %1（%2）大于此卡带可容纳的 %3；没有擦除或写入任何内容。</translation>
    </message>
    <message>
        <source>The clock trailer of %1 cannot be used (%2); nothing was written.</source>
        <translation>%1 的时钟数据无法使用（%2）；没有写入任何内容。</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>%1 appeared while the job ran and was not replaced; the new file is kept as %2.</source>
        <translation>%1 在作业运行期间出现，未被替换；新文件保存为 %2。</translation>
    </message>
    <message>
        <source>The flash cartridge is now partly erased or programmed; program the image again.</source>
        <translation>闪存卡带现在只擦除或烧录了一部分；请重新烧录映像。</translation>
    </message>
    <message>
        <source>The cartridge's save is now partly written. Its old save is kept in %1; to restore it, write that file back with Write RAM.</source>
        <translation>卡带的存档现在只写入了一部分。旧存档保存在 %1；要恢复，请用“Write RAM”写回该文件。</translation>
    </message>
    <message>
        <source>The cartridge's save is now partly written, and no backup of its old save was made.</source>
        <translation>卡带的存档现在只写入了一部分，且未备份旧存档。</translation>
    </message>
    <message>
        <source>Verified dump</source>
        <translation>已验证的转储</translation>
    </message>
    <message>
        <source>Checksums hold</source>
        <translation>校验和正确</translation>
    </message>
    <message>
        <source>Probably a bad dump</source>
        <translation>很可能是坏的转储</translation>
    </message>
    <message>
        <source>The %1 bytes after the save are a clock trailer of another kind of cartridge than this one, so they are not used.</source>
        <translation>存档后的 %1 字节是另一种卡带的时钟尾部，因此不使用。</translation>
    </message>
    <message>
        <source>%1 carries no clock: the cartridge's clock is left as it is.</source>
        <translation>%1 不含时钟：卡带的时钟保持不变。</translation>
    </message>
    <message>
        <source>The cartridge's clock reads %1; the file carries it after the save.</source>
        <translation>卡带时钟显示 %1；文件在存档之后保存该时钟。</translation>
    </message>
    <message>
        <source>The clock says it lost its power since it was last set: the time it shows may be wrong.</source>
        <translation>时钟表明自上次设置以来曾断电：显示的时间可能有误。</translation>
    </message>
    <message>
        <source>%1 holds the save's half-bytes two to a byte (%2 bytes); they are written one to a byte.</source>
        <translation>%1 以每字节两个半字节保存存档（%2 字节）；将按每字节一个半字节写入。</translation>
    </message>
    <message>
        <source>MBC1 multicart: its four games are read in the order of its wiring.</source>
        <translation>MBC1 多合一卡带：按其接线顺序读取四个游戏。</translation>
    </message>
    <message>
        <source>The cartridge shows one sign of an MBC1 multicart but not the other; it is read as a plain MBC1.</source>
        <translation>卡带只显示出 MBC1 多合一卡带的一个特征而缺少另一个；按普通 MBC1 读取。</translation>
    </message>
    <message>
        <source>%1 seconds on from the save, to %2</source>
        <translation>比存档时晚 %1 秒，即 %2</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, but the cartridge's save is %3 bytes: a save file holds the save (and a clock's trailer at most); nothing was read from or written to the cartridge.</source>
        <translation>%1 有 %2 字节，但卡带的存档是 %3 字节：存档文件只含存档（最多再加时钟尾部）；未从卡带读取或写入任何内容。</translation>
    </message>
    <message>
        <source>Read twice the same: the cartridge holds this data. It is not the known dump; it may be another revision or a modified cartridge.</source>
        <translation>两次读取结果相同：卡带中就是这些数据。它不是已知的备份；可能是另一版本或经过改造的卡带。</translation>
    </message>
    <message>
        <source>The database knows %1 as %2 (%3 bytes, CRC32 %4).</source>
        <translation>数据库中 %1 为 %2（%3 字节，CRC32 %4）。</translation>
    </message>
    <message>
        <source>%1 is blank, and the cartridge holds a save (or it could not be read): writing the file would erase the saved game.</source>
        <translation>%1 是空白存档，而卡带中有存档（或无法读取）：写入该文件会抹去游戏存档。</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>未写入任何内容。</translation>
    </message>
    <message>
        <source>The blank file is written over the cartridge's save, as asked.</source>
        <translation>按要求将空白文件写入卡带存档。</translation>
    </message>
    <message>
        <source>The dump does not look good; the cartridge is read once more to tell a flaky read from what it holds.</source>
        <translation>备份看起来不正常；将再读取一次卡带，以区分读取不稳定与卡带本身的数据。</translation>
    </message>
    <message>
        <source>Verify data error: the cartridge could not be read again.</source>
        <translation>校验数据错误：无法再次读取卡带。</translation>
    </message>
    <message>
        <source>Unstable addresses: %1</source>
        <translation>不稳定地址：%1</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>另有 %1 处</translation>
    </message>
    <message>
        <source>data line D%1 read differently at %2 addresses: clean the cartridge's contacts</source>
        <translation>数据线 D%1 在 %2 个地址读数不同：请清洁卡带触点</translation>
    </message>
    <message>
        <source>data line D%1 reads %2 at every address</source>
        <translation>数据线 D%1 在所有地址都读为 %2</translation>
    </message>
    <message>
        <source>it is stuck (a broken contact or trace), so the dump cannot be good.</source>
        <translation>该线卡死（触点或线路损坏），因此备份不可能正确。</translation>
    </message>
    <message>
        <source>the save is blank: the cartridge holds no saved game, or its battery is dead</source>
        <translation>存档为空白：卡带中没有游戏存档，或其电池已耗尽</translation>
    </message>
    <message>
        <source>The cartridge's save is the same as its newest backup, %1: it is not stored twice.</source>
        <translation>卡带存档与其最新备份 %1 相同：不重复保存。</translation>
    </message>
    <message>
        <source>The backup history could not be written: %1</source>
        <translation>无法写入备份记录：%1</translation>
    </message>
    <message>
        <source>%1: larger than any cartridge holds</source>
        <translation>%1：比任何卡带能容纳的都大</translation>
    </message>
    <message>
        <source>%1: neither a GB/GBC nor a GBA ROM (no logo in its header)</source>
        <translation>%1：既不是 GB/GBC 也不是 GBA ROM（文件头中没有标志）</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, less than the smallest %3 ROM (%4): it is not a whole dump</source>
        <translation>%1 只有 %2 字节，小于最小的 %3 ROM（%4）：它不是完整的备份</translation>
    </message>
    <message>
        <source>%1: a %2 ROM</source>
        <translation>%1：%2 ROM</translation>
    </message>
    <message>
        <source>healed: %1 bytes decided by majority; no known dump confirms it</source>
        <translation>已修复：%1 个字节由多数决定；没有已知转储可以确认</translation>
    </message>
    <message>
        <source>the dump is %1, probing the cartridge gives %2</source>
        <translation>转储为 %1，探测卡带得到 %2</translation>
    </message>
    <message>
        <source>the dump is %1, the header says %2</source>
        <translation>转储为 %1，卡头标示 %2</translation>
    </message>
    <message>
        <source>the panel's ROM size is smaller than the cartridge</source>
        <translation>设置面板中的 ROM 大小小于卡带</translation>
    </message>
    <message>
        <source>the panel's ROM size is larger than the cartridge</source>
        <translation>设置面板中的 ROM 大小大于卡带</translation>
    </message>
    <message>
        <source>Healed, not confirmed</source>
        <translation>已修复，未经确认</translation>
    </message>
    <message>
        <source>The cartridge read differently from read to read, so this dump cannot be trusted. Clean the cartridge's contacts and dump it again.</source>
        <translation>卡带每次读取的结果都不同，因此此转储不可信。请清洁卡带触点后重新转储。</translation>
    </message>
    <message>
        <source>The two reads differ in %1 of the %2 chunks of 4 KiB; those are read again, up to %3 times, until each byte that read differently has a value that leads every other by %4 reads.</source>
        <translation>两次读取在 %2 个 4 KiB 块中的 %1 个不同；这些块将被重新读取，最多 %3 次，直到每个读数不一致的字节有一个值领先其他值 %4 次读取。</translation>
    </message>
    <message>
        <source>%1 more chunks hold the same bus addresses in other banks, where a worn contact flickers as well: they are read again too.</source>
        <translation>另有 %1 个块在其他存储体中对应相同的总线地址，磨损的触点在那里也会闪变：它们也会被重新读取。</translation>
    </message>
    <message>
        <source>Verify data error: %1 bytes read differently and no value leads by %2 reads after %3 more reads (%4): clean the cartridge's contacts.</source>
        <translation>校验数据错误：%1 个字节读数不一致，再读取 %3 次后仍没有值领先 %2 次（%4）：请清洁卡带触点。</translation>
    </message>
    <message>
        <source>Healed: %1 bytes read differently, each decided by a lead of at least %2 reads (%3 more bytes read).</source>
        <translation>已修复：%1 个字节读数不一致，每个字节都以至少 %2 次读取的领先确定（额外读取 %3 字节）。</translation>
    </message>
    <message>
        <source>The best guess could not be written: %1</source>
        <translation>无法写入最佳猜测：%1</translation>
    </message>
    <message>
        <source>The best guess, its undecided bytes taken by their leading value, is kept as %1; it is not a good dump.</source>
        <translation>最佳猜测（未确定的字节取其领先值）已保存为 %1；它不是良好的转储。</translation>
    </message>
    <message>
        <source>The clock in %1 was never set by the game: the cartridge's clock is left as it is.</source>
        <translation>%1 中的时钟从未被游戏设置：卡带的时钟保持不变。</translation>
    </message>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1：不是普通文件</translation>
    </message>
    <message>
        <source>%1 holds %2, more than the %3 a GBA ROM can hold: it is not a GBA dump</source>
        <translation>%1 有 %2，超过 GBA ROM 最多能容纳的 %3：它不是 GBA 转储</translation>
    </message>
    <message>
        <source>Matches %1.</source>
        <translation>与 %1 一致。</translation>
    </message>
    <message>
        <source>%1 knows %2 as '%3' (%4 bytes, CRC32 %5).</source>
        <translation>%1 中 %2 为“%3”（%4 字节，CRC32 %5）。</translation>
    </message>
    <message>
        <source>The dump takes the name of the release it matches: %1</source>
        <translation>转储以其匹配的发行版命名：%1</translation>
    </message>
    <message>
        <source>Reading the cartridge's save before writing...</source>
        <translation>写入前先读取卡带存档...</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdateTab</name>
    <message>
        <source>Update Firmware</source>
        <translation>更新固件</translation>
    </message>
    <message>
        <source>First turn off anti-virus software.</source>
        <translation>请先关闭杀毒软件。</translation>
    </message>
    <message>
        <source>Next press "Update Firmware" to update firmware.</source>
        <translation>然后按“更新固件”来更新固件。</translation>
    </message>
    <message>
        <source><byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting update firmware , pelase wait...</source>
        <translation>开始更新固件，请稍候...</translation>
    </message>
    <message>
        <source>&gt;Operation failure.</source>
        <translation>&gt;操作失败。</translation>
    </message>
    <message>
        <source>&gt;Success!</source>
        <translation>&gt;成功！</translation>
    </message>
    <message>
        <source>This program cannot update the board's firmware: the button sends nothing to the board; the board maker's own updater does that.</source>
        <translation>本程序无法更新读卡器固件：此按钮不会向读卡器发送任何内容；请使用读卡器厂商自己的更新程序。</translation>
    </message>
</context>
<context>
    <name>MainTab</name>
    <message>
        <source>A wrong header checksum before a dump usually means dirty contacts: clean them and press Info again.</source>
        <translation>读取前头部校验和错误通常表示触点脏污：请清洁后再按“信息”。</translation>
    </message>
    <message>
        <source>Can not auto detect cartridge information.</source>
        <translation>无法自动检测卡带信息。</translation>
    </message>
    <message>
        <source>Maybe no insert cart or it's a black cart.</source>
        <translation>可能未插入卡带，或是黑卡。</translation>
    </message>
    <message>
        <source>Also try:</source>
        <translation>也可以尝试：</translation>
    </message>
    <message>
        <source> 1.Turn off anti-virus software.</source>
        <translation> 1.关闭杀毒软件。</translation>
    </message>
    <message>
        <source> 2.Damaged or Dirty.</source>
        <translation> 2.卡带损坏或脏污。</translation>
    </message>
    <message>
        <source> 3.Switch correct volte on dump board.</source>
        <translation> 3.在读卡器上切换到正确的电压。</translation>
    </message>
    <message>
        <source> 4.Try again.</source>
        <translation> 4.再试一次。</translation>
    </message>
    <message>
        <source>Can not found dump device.</source>
        <translation>找不到读卡器。</translation>
    </message>
    <message>
        <source>The dump device is in use by another program.</source>
        <translation>读卡器正被其他程序使用。</translation>
    </message>
    <message>
        <source>--Device information--</source>
        <translation>--设备信息--</translation>
    </message>
    <message>
        <source>Driver label: </source>
        <translation>驱动卷标：</translation>
    </message>
    <message>
        <source>Device firmware: </source>
        <translation>设备固件：</translation>
    </message>
    <message>
        <source><byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialize device error.</source>
        <translation>设备初始化错误。</translation>
    </message>
    <message>
        <source>Read ROM error.</source>
        <translation>读取 ROM 错误。</translation>
    </message>
    <message>
        <source>--GB/GBC Cartridge information--</source>
        <translation>--GB/GBC 卡带信息--</translation>
    </message>
    <message>
        <source>Title: </source>
        <translation>标题：</translation>
    </message>
    <message>
        <source>Cart type: </source>
        <translation>卡带类型：</translation>
    </message>
    <message>
        <source>ROM Size: </source>
        <translation>ROM 大小：</translation>
    </message>
    <message>
        <source>RAM Size: </source>
        <translation>RAM 大小：</translation>
    </message>
    <message>
        <source>Detect GBA cartridge, but can not detect detail.</source>
        <translation>检测到 GBA 卡带，但无法检测详细信息。</translation>
    </message>
    <message>
        <source>ROM size found by probing: </source>
        <translation>探测得到的 ROM 大小：</translation>
    </message>
    <message>
        <source>--GBA Cartridge information--</source>
        <translation>--GBA 卡带信息--</translation>
    </message>
    <message>
        <source>Year: </source>
        <translation>年份：</translation>
    </message>
    <message>
        <source>Publisher: </source>
        <translation>发行商：</translation>
    </message>
    <message>
        <source>Read ROM to...</source>
        <translation>读取 ROM 到...</translation>
    </message>
    <message>
        <source>GB/GBC Rom (*.gb *.gbc)</source>
        <translation>GB/GBC ROM (*.gb *.gbc)</translation>
    </message>
    <message>
        <source>GBA Rom (*.gba)</source>
        <translation>GBA ROM (*.gba)</translation>
    </message>
    <message>
        <source>Reading data from ROM to file:</source>
        <translation>正在从 ROM 读取数据到文件：</translation>
    </message>
    <message>
        <source>Get ROM File.</source>
        <translation>选择 ROM 文件。</translation>
    </message>
    <message>
        <source>GB/GBC ROM (*.gb *.gbc)</source>
        <translation>GB/GBC ROM (*.gb *.gbc)</translation>
    </message>
    <message>
        <source>GBA ROM (*.gba)</source>
        <translation>GBA ROM (*.gba)</translation>
    </message>
    <message>
        <source>Writing rom to cartridge from file:</source>
        <translation>正在将文件中的 ROM 写入卡带：</translation>
    </message>
    <message>
        <source>Read save to...</source>
        <translation>读取存档到...</translation>
    </message>
    <message>
        <source>GB/GBC save (*.sav)</source>
        <translation>GB/GBC 存档 (*.sav)</translation>
    </message>
    <message>
        <source>GBA save (*.sav)</source>
        <translation>GBA 存档 (*.sav)</translation>
    </message>
    <message>
        <source>Reading data from save to file:</source>
        <translation>正在从存档读取数据到文件：</translation>
    </message>
    <message>
        <source>Get Save File.</source>
        <translation>选择存档文件。</translation>
    </message>
    <message>
        <source>Writing save to cartridge from file:</source>
        <translation>正在将文件中的存档写入卡带：</translation>
    </message>
    <message>
        <source>&gt;Success!</source>
        <translation>&gt;成功！</translation>
    </message>
    <message>
        <source>&gt;Operation failure.</source>
        <translation>&gt;操作失败。</translation>
    </message>
    <message>
        <source>The flash chip holds %1; the image of %2 does not fit.</source>
        <translation>闪存芯片容量为 %1；%2 的镜像放不下。</translation>
    </message>
    <message>
        <source>The GBA cartridge bus addresses at most %1 of ROM; %2 cannot be dumped.</source>
        <translation>GBA 卡带总线最多寻址 %1 的 ROM；无法读取 %2。</translation>
    </message>
    <message>
        <source>%1 addresses at most %2 of save memory; the %3 chosen is more than it holds.</source>
        <translation>%1 最多寻址 %2 的存档存储；所选的 %3 超出其容量。</translation>
    </message>
    <message>
        <source>%1 addresses at most %2 of ROM; the %3 asked for is more than it holds.</source>
        <translation>%1 最多寻址 %2 的 ROM；所要求的 %3 超出其容量。</translation>
    </message>
    <message>
        <source>Not exists script file :</source>
        <translation>脚本文件不存在：</translation>
    </message>
    <message>
        <source>The file is empty: nothing to write.</source>
        <translation>文件为空：没有可写入的内容。</translation>
    </message>
    <message>
        <source>The file is larger than %1, more than any cartridge holds.</source>
        <translation>文件大于 %1，超过任何卡带的容量。</translation>
    </message>
    <message>
        <source>Flash chip is 16bit width</source>
        <translation>闪存芯片为 16 位宽</translation>
    </message>
    <message>
        <source>Flash chip size is :</source>
        <translation>闪存芯片大小：</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Flash chip is 8bit width</source>
        <translation>闪存芯片为 8 位宽</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>信息</translation>
    </message>
    <message>
        <source>Dump</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>FLASH</source>
        <translation>烧录</translation>
    </message>
    <message>
        <source>Read RAM</source>
        <translation>读取存档</translation>
    </message>
    <message>
        <source>Write RAM</source>
        <translation>写入存档</translation>
    </message>
    <message>
        <source>Show cartridge information!</source>
        <translation>显示卡带信息！</translation>
    </message>
    <message>
        <source>Dump ROM from cartridge!</source>
        <translation>从卡带读取 ROM！</translation>
    </message>
    <message>
        <source>Flash ROM to a writeable cartridge!</source>
        <translation>将 ROM 烧录到可写卡带！</translation>
    </message>
    <message>
        <source>Read SRAM from cartridge!</source>
        <translation>从卡带读取 SRAM！</translation>
    </message>
    <message>
        <source>Write SRAM to cartridge!</source>
        <translation>将 SRAM 写入卡带！</translation>
    </message>
    <message>
        <source>Oriel Driver Series for GB/GBC/GBA 3.0 started.</source>
        <translation>Oriel GB/GBC/GBA 驱动系列 3.0 已启动。</translation>
    </message>
    <message>
        <source>Support all functions, need &lt;span style="color: #ffcc00;"&gt;QRV_PCB02_FW303&lt;/span&gt; firmware.</source>
        <translation>支持全部功能，需要 &lt;span style="color: #ffcc00;"&gt;QRV_PCB02_FW303&lt;/span&gt; 固件。</translation>
    </message>
    <message>
        <source>To dump GB/GBC cartridge,please switch power to 5V.</source>
        <translation>读取 GB/GBC 卡带，请将电源切换到 5V。</translation>
    </message>
    <message>
        <source>To dump GBA cartridge,please switch power to 3.3V.</source>
        <translation>读取 GBA 卡带，请将电源切换到 3.3V。</translation>
    </message>
    <message>
        <source>Part of homebrew GB/GBC flash cart need 3.3V power.</source>
        <translation>部分自制 GB/GBC 烧录卡需要 3.3V 电源。</translation>
    </message>
    <message>
        <source>No board named %1 was found; the boards seen: %2.</source>
        <translation>未找到名为 %1 的烧录器；找到的烧录器：%2。</translation>
    </message>
    <message>
        <source>%1 holds %2, but its identification record has no firmware label: it is not a dump board, or the board does not answer.</source>
        <translation>%1 含有 %2，但其识别记录中没有固件标签：它不是烧录器，或烧录器没有响应。</translation>
    </message>
    <message>
        <source>The board's volume %1 is mounted read-only, so no command can reach the board; mount it read-write.</source>
        <translation>烧录器的卷 %1 以只读方式挂载，命令无法送达烧录器；请以读写方式挂载。</translation>
    </message>
    <message>
        <source>Using the board %1; another board was seen: %2.</source>
        <translation>使用烧录器 %1；还发现了另一个烧录器：%2。</translation>
    </message>
    <message>
        <source>Choose one with %1 NAME.</source>
        <translation>请用 %1 NAME 选择其中一个。</translation>
    </message>
    <message>
        <source>detected</source>
        <translation>检测到</translation>
    </message>
    <message>
        <source>chosen</source>
        <translation>已选择</translation>
    </message>
    <message>
        <source>found in the ROM</source>
        <translation>在 ROM 中找到</translation>
    </message>
    <message>
        <source>the panel's first choice</source>
        <translation>面板的默认选项</translation>
    </message>
    <message>
        <source>ROM %1</source>
        <translation>ROM %1</translation>
    </message>
    <message>
        <source>save %1</source>
        <translation>存档 %1</translation>
    </message>
    <message>
        <source>save %1 %2</source>
        <translation>存档 %1 %2</translation>
    </message>
    <message>
        <source>No cartridge was recognised; choose its system and sizes in the settings panel to go on anyway.</source>
        <translation>未识别到卡带；如仍要继续，请在设置面板中选择其系统和大小。</translation>
    </message>
    <message>
        <source>The save type of this cartridge is not known; choose it (RAM TYPE and RAM SIZE) in the settings panel.</source>
        <translation>此卡带的存档类型未知；请在设置面板中选择（RAM 类型和 RAM 大小）。</translation>
    </message>
    <message>
        <source>The cartridge's header names no save memory; choose its size (RAM SIZE) in the settings panel to go on.</source>
        <translation>卡带头部未标明存档存储器；要继续，请在设置面板中选择其大小（RAM 大小）。</translation>
    </message>
    <message>
        <source>The ROM size of this cartridge is not known; choose it (ROM SIZE) in the settings panel.</source>
        <translation>此卡带的 ROM 大小未知；请在设置面板中选择（ROM 大小）。</translation>
    </message>
    <message>
        <source>Cartridge: %1 (%2)</source>
        <translation>卡带：%1（%2）</translation>
    </message>
    <message>
        <source>Cartridge: a GBA cartridge the database does not know (%1).</source>
        <translation>卡带：数据库中没有的 GBA 卡带（%1）。</translation>
    </message>
    <message>
        <source>No cartridge was recognised: its header shows neither the GB nor the GBA logo.</source>
        <translation>未识别到卡带：其头部既没有 GB 标志也没有 GBA 标志。</translation>
    </message>
    <message>
        <source>Flash chip: %1 (ID 0x%2 0x%3)</source>
        <translation>闪存芯片：%1（ID 0x%2 0x%3）</translation>
    </message>
    <message>
        <source>The flash chip gave no size it can have; the cartridge is read back after programming to check what was written.</source>
        <translation>闪存芯片报告的容量无效；烧录后将回读卡带以检查写入的内容。</translation>
    </message>
    <message>
        <source>The flash chip's size could not be learnt (it answered with the ID 0x%1 0x%2); the cartridge is read back after programming to check what was written.</source>
        <translation>无法得知闪存芯片的容量（其 ID 为 0x%1 0x%2）；烧录后将回读卡带以检查写入的内容。</translation>
    </message>
    <message>
        <source>The ROM could not be read through to look for its save library.</source>
        <translation>无法完整读取 ROM 以查找其存档库。</translation>
    </message>
    <message>
        <source>The ROM names no save library, so its save type is not known; %1.</source>
        <translation>ROM 未标明存档库，因此存档类型未知；%1。</translation>
    </message>
    <message>
        <source>The ROM names save libraries of more than one kind (%1); %2.</source>
        <translation>ROM 标明了多种存档库（%1）；%2。</translation>
    </message>
    <message>
        <source>The ROM names its save library %1: %2, whose size it does not tell.</source>
        <translation>ROM 标明了其存档库 %1：%2，但未标明其大小。</translation>
    </message>
    <message>
        <source>The ROM names its save library %1: %2 %3.</source>
        <translation>ROM 标明了其存档库 %1：%2 %3。</translation>
    </message>
    <message>
        <source>The cartridge's header could not be read, so the job did not start.</source>
        <translation>无法读取卡带头部，因此未开始作业。</translation>
    </message>
    <message>
        <source>FLASH programs rewritable GB/GBC flash cartridges; programming GBA flash cartridges is not part of this program yet.</source>
        <translation>FLASH 用于烧录可重写的 GB/GBC 闪存卡带；本程序尚不支持烧录 GBA 闪存卡带。</translation>
    </message>
    <message>
        <source>Looking for the save library in the ROM's %1...</source>
        <translation>正在 ROM 的 %1 中查找存档库……</translation>
    </message>
    <message>
        <source>Canceled.</source>
        <translation>已取消。</translation>
    </message>
    <message>
        <source>choose its save type (RAM TYPE and RAM SIZE) in the settings panel</source>
        <translation>请在设置面板中选择其存档类型（RAM 类型和 RAM 大小）</translation>
    </message>
    <message>
        <source>EEPROM size</source>
        <translation>EEPROM 容量</translation>
    </message>
    <message>
        <source>The cartridge saves to an EEPROM, whose size the ROM does not tell.
Choose it:</source>
        <translation>此卡带的存档在 EEPROM 中，ROM 未标明其容量。
请选择：</translation>
    </message>
    <message>
        <source>Using: %1</source>
        <translation>使用：%1</translation>
    </message>
    <message>
        <source>Real-time clock: yes</source>
        <translation>实时时钟：有</translation>
    </message>
    <message>
        <source>Clock: it could not be read (%1)</source>
        <translation>时钟：无法读取（%1）</translation>
    </message>
    <message>
        <source>Clock: </source>
        <translation>时钟：</translation>
    </message>
    <message>
        <source>The clock says it lost its power since it was last set: the time it shows may be wrong.</source>
        <translation>时钟表明自上次设置以来曾断电：显示的时间可能有误。</translation>
    </message>
    <message>
        <source>MBC1 multicart</source>
        <translation>MBC1 多合一卡带</translation>
    </message>
    <message>
        <source>Show photos</source>
        <translation>显示照片</translation>
    </message>
    <message>
        <source>Show the photos in the Pocket Camera's save!</source>
        <translation>显示 Pocket Camera 存档中的照片！</translation>
    </message>
    <message>
        <source>The save holds the Pocket Camera's photos: Show photos shows them.</source>
        <translation>该存档含有 Pocket Camera 的照片：点击“显示照片”查看。</translation>
    </message>
    <message>
        <source>Contact check: the header could not be read.</source>
        <translation>触点检查：无法读取文件头。</translation>
    </message>
    <message>
        <source>Contact check: the header read the same %1 times: the contacts are stable.</source>
        <translation>触点检查：文件头 %1 次读取结果相同：触点稳定。</translation>
    </message>
    <message>
        <source>Contact check: over %1 reads the header read differently at %2 (data lines %3): clean the cartridge's contacts before a long dump.</source>
        <translation>触点检查：%1 次读取中，文件头在 %2 处读数不同（数据线 %3）：请在长时间备份前清洁卡带触点。</translation>
    </message>
    <message>
        <source>Blank save</source>
        <translation>空白存档</translation>
    </message>
    <message>
        <source>Write it anyway?</source>
        <translation>仍然写入？</translation>
    </message>
    <message>
        <source>Restore a backup...</source>
        <translation>恢复备份...</translation>
    </message>
    <message>
        <source>Write back a save Write RAM kept before it overwrote one!</source>
        <translation>写回写入 RAM 覆盖前保留的存档！</translation>
    </message>
    <message>
        <source>Verify file...</source>
        <translation>校验文件...</translation>
    </message>
    <message>
        <source>Judge a ROM file you have, as a dump is judged (no board needed). Dropping a file on the window does the same.</source>
        <translation>像判定备份一样判定已有的 ROM 文件（无需设备）。将文件拖放到窗口上效果相同。</translation>
    </message>
    <message>
        <source>There are no backups yet: Write RAM keeps one in %1 before it writes.</source>
        <translation>还没有备份：写入 RAM 前会在 %1 中保留一份。</translation>
    </message>
    <message>
        <source>Restore a backup</source>
        <translation>恢复备份</translation>
    </message>
    <message>
        <source>Verify a ROM file</source>
        <translation>校验 ROM 文件</translation>
    </message>
    <message>
        <source>ROM images (*.gb *.gbc *.gba);;All files (*)</source>
        <translation>ROM 映像 (*.gb *.gbc *.gba);;所有文件 (*)</translation>
    </message>
    <message>
        <source>No dump board was found: there is no folder where removable volumes are mounted.</source>
        <translation>未找到读卡器：没有挂载可移动卷的文件夹。</translation>
    </message>
    <message>
        <source>No dump board was found in %1 (no volume there holds %2).</source>
        <translation>在 %1 中未找到读卡器（那里没有卷含有 %2）。</translation>
    </message>
    <message>
        <source>Plug the board in and let the system mount it, or set ZELVO_VOLUMES to the folder that holds its volume.</source>
        <translation>请插入读卡器并让系统挂载它，或将 ZELVO_VOLUMES 设置为包含其卷的文件夹。</translation>
    </message>
    <message>
        <source>%1 holds %2, but %3: it is not a dump board, and nothing was written there.</source>
        <translation>%1 含有 %2，但 %3：它不是读卡器，也未向其写入任何内容。</translation>
    </message>
    <message>
        <source>The cartridge answers neither the flash query nor the ID command: it has no flash chip (a cartridge of mask ROM), so nothing was erased or written.</source>
        <translation>卡带既不响应闪存查询也不响应 ID 命令：它没有闪存芯片（掩膜 ROM 卡带），因此未擦除或写入任何内容。</translation>
    </message>
    <message>
        <source>The cartridge's header names no controller this program knows; choose it (MBC TYPE) in the settings panel.</source>
        <translation>卡带头部标示的控制器本程序不认识；请在设置面板中选择它（MBC TYPE）。</translation>
    </message>
    <message>
        <source>unknown (code 0x%1)</source>
        <translation>未知（代码 0x%1）</translation>
    </message>
    <message>
        <source>FLASH programs GB/GBC flash cartridges: the panel is set to GB/GBC.</source>
        <translation>FLASH 用于烧录 GB/GBC 闪存卡带：设置面板已切换为 GB/GBC。</translation>
    </message>
    <message>
        <source>The backup is of the cartridge %1, but the cartridge inserted is %2.</source>
        <translation>该备份来自卡带 %1，但插入的卡带是 %2。</translation>
    </message>
    <message>
        <source>Write it into this cartridge?</source>
        <translation>要把它写入这张卡带吗？</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>未写入任何内容。</translation>
    </message>
    <message>
        <source>The backup file %1 is missing.</source>
        <translation>备份文件 %1 不见了。</translation>
    </message>
    <message>
        <source>The backup file %1 was changed after it was kept: it no longer holds the save that was backed up.</source>
        <translation>备份文件 %1 在保存后被修改过：它不再是当初备份的存档。</translation>
    </message>
    <message>
        <source>Not imported: %1. The database is unchanged.</source>
        <translation>未导入：%1。数据库保持不变。</translation>
    </message>
    <message>
        <source>%1 was not imported: %2.</source>
        <translation>%1 未导入：%2。</translation>
    </message>
    <message>
        <source>Imported %1 (%2): %3 games.</source>
        <translation>已导入 %1（%2）：%3 个游戏。</translation>
    </message>
    <message>
        <source>It replaces version %1.</source>
        <translation>它替换了版本 %1。</translation>
    </message>
    <message>
        <source>%1  %2  %3 games  imported %4</source>
        <translation>%1  %2  %3 个游戏  导入于 %4</translation>
    </message>
    <message>
        <source>Import DAT files...</source>
        <translation>导入 DAT 文件...</translation>
    </message>
    <message>
        <source>Add the DAT files you keep (Logiqx XML, or a .zip holding one): verdicts and file names then name the releases they list.</source>
        <translation>添加您保存的 DAT 文件（Logiqx XML，或包含一个 DAT 的 .zip）：之后的判定和文件名会使用其中列出的发行版名称。</translation>
    </message>
    <message>
        <source>Import DAT files</source>
        <translation>导入 DAT 文件</translation>
    </message>
    <message>
        <source>DAT files (*.dat *.xml *.zip);;All files (*)</source>
        <translation>DAT 文件 (*.dat *.xml *.zip);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Game code: </source>
        <translation>游戏代码：</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Stop the job at its next transfer.</source>
        <translation>在下一次传输时停止作业。</translation>
    </message>
    <message>
        <source>The backup of %1 from %2 goes into the cartridge inserted, %1.</source>
        <translation>%2 的 %1 备份将写入已插入的卡带 %1。</translation>
    </message>
    <message>
        <source>The backup is of the cartridge %1 with the header checksum %2, but the cartridge inserted has %3: another revision.</source>
        <translation>该备份属于卡带 %1，其头部校验和为 %2，但插入的卡带为 %3：是另一个版本。</translation>
    </message>
    <message>
        <source>The value named is not offered for this cartridge.</source>
        <translation>所指定的值不适用于此卡带。</translation>
    </message>
    <message>
        <source>probed on the chip</source>
        <translation>由芯片探测</translation>
    </message>
    <message>
        <source>The EEPROM answers as a chip of %1.</source>
        <translation>EEPROM 的应答表明它是 %1 的芯片。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The dump device stopped answering during the erase.</source>
        <translation>擦除期间读卡器停止响应。</translation>
    </message>
    <message>
        <source>The flash chip did not finish erasing in time.</source>
        <translation>闪存芯片未能及时完成擦除。</translation>
    </message>
    <message>
        <source>dump core script error
</source>
        <translation>dump core 脚本错误
</translation>
    </message>
    <message>
        <source>The mapper script cannot read this cartridge's clock.</source>
        <translation>映射器脚本无法读取此卡带的时钟。</translation>
    </message>
    <message>
        <source>The mapper script cannot set this cartridge's clock.</source>
        <translation>映射器脚本无法设置此卡带的时钟。</translation>
    </message>
    <message>
        <source>Start dump rom...</source>
        <translation>开始读取 ROM...</translation>
    </message>
    <message>
        <source>Dump rom finish.</source>
        <translation>读取 ROM 完成。</translation>
    </message>
    <message>
        <source>Start erase flash chip...</source>
        <translation>开始擦除闪存芯片...</translation>
    </message>
    <message>
        <source>The mapper script cannot erase this cartridge.</source>
        <translation>映射器脚本无法擦除此卡带。</translation>
    </message>
    <message>
        <source>Erase flash chip finish.</source>
        <translation>擦除闪存芯片完成。</translation>
    </message>
    <message>
        <source>Start flash ROM...</source>
        <translation>开始烧录 ROM...</translation>
    </message>
    <message>
        <source>Flash ROM finish.</source>
        <translation>烧录 ROM 完成。</translation>
    </message>
    <message>
        <source>Start dump save...</source>
        <translation>开始读取存档...</translation>
    </message>
    <message>
        <source>Dump save finish.</source>
        <translation>读取存档完成。</translation>
    </message>
    <message>
        <source>Start write save...</source>
        <translation>开始写入存档...</translation>
    </message>
    <message>
        <source>Write save finish.</source>
        <translation>写入存档完成。</translation>
    </message>
    <message>
        <source>Unknow operate!</source>
        <translation>未知操作！</translation>
    </message>
    <message>
        <source>The script interpreter could not be loaded: %1</source>
        <translation>无法加载脚本解释器：%1</translation>
    </message>
    <message>
        <source>The mapper script did not stop by itself and was stopped: the job was canceled.</source>
        <translation>映射器脚本未自行停止，已被强制停止：任务已取消。</translation>
    </message>
    <message>
        <source>The board stopped answering (a command could not be sent to it).</source>
        <translation>烧录器停止响应（无法向其发送命令）。</translation>
    </message>
    <message>
        <source>The board stopped answering (%1 of %2 bytes arrived).</source>
        <translation>烧录器停止响应（%2 字节中只收到 %1 字节）。</translation>
    </message>
    <message>
        <source>Erasing the flash chip; this can take up to %1 s.</source>
        <translation>正在擦除闪存芯片；最多可能需要 %1 秒。</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <source>%1 is empty.</source>
        <translation>%1 是空的。</translation>
    </message>
    <message>
        <source>%1 is not a script's text: it holds a NUL byte or compiled code, which is not run.</source>
        <translation>%1 不是脚本文本：它含有 NUL 字节或已编译的代码，不会运行。</translation>
    </message>
    <message>
        <source>The board is in use by another program: it holds %1.</source>
        <translation>读卡器正被其他程序使用：它占用着 %1。</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>SYS TYPE:</source>
        <translation>系统类型：</translation>
    </message>
    <message>
        <source>MBC TYPE:</source>
        <translation>MBC 类型：</translation>
    </message>
    <message>
        <source>ROM SIZE:</source>
        <translation>ROM 大小：</translation>
    </message>
    <message>
        <source>RAM SIZE:</source>
        <translation>RAM 大小：</translation>
    </message>
    <message>
        <source>Verify the data after writing</source>
        <translation>写入后校验数据</translation>
    </message>
    <message>
        <source>RAM TYPE:</source>
        <translation>RAM 类型：</translation>
    </message>
    <message>
        <source>Keep the best guess of a dump that cannot be healed</source>
        <translation>保留无法修复的转储的最佳猜测</translation>
    </message>
    <message>
        <source>When the reads leave bytes undecided, the dump still fails, and its best guess is kept as "NAME (unstable)" beside the file you chose.</source>
        <translation>当读取留下未确定的字节时，转储仍然失败，其最佳猜测将以“名称 (unstable)”保存在您选择的文件旁边。</translation>
    </message>
</context>
<context>
    <name>TabAbout</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Oriel Cartridge Driver/Dumper</source>
        <translation>Oriel 卡带驱动/读卡器</translation>
    </message>
    <message>
        <source>* Squirrel 3.1 stable scripting language
    Copyright (c) 2003-2016 Alberto Demichelis, MIT License

* Qt 5.7 application framework
    Copyright (C) The Qt Company Ltd., LGPL version 3</source>
        <translation>* Squirrel 3.1 稳定版脚本语言
    Copyright (c) 2003-2016 Alberto Demichelis，MIT 许可证

* Qt 5.7 应用程序框架
    Copyright (C) The Qt Company Ltd.，LGPL 第 3 版</translation>
    </message>
    <message>
        <source>GB/GBC/GBA Cartridge Dumper</source>
        <translation>GB/GBC/GBA 卡带读卡器</translation>
    </message>
    <message>
        <source>Web site: </source>
        <translation>网站：</translation>
    </message>
    <message>
        <source>Email: </source>
        <translation>电子邮件：</translation>
    </message>
    <message>
        <source>This program and device, called set, enables to:
- make game backups from owned cartridges and play them on PC,
- transfer game saves between cartridge and PC,
- test written by yourself games directly on console 
  (rewritable cartridge required).
</source>
        <translation>本程序与设备（合称套件）可以：
- 备份自己拥有的卡带游戏并在电脑上游玩，
- 在卡带与电脑之间传输游戏存档，
- 直接在主机上测试自己编写的游戏
  （需要可写卡带）。
</translation>
    </message>
    <message>
        <source>running on Qt %1</source>
        <translation>运行于 Qt %1</translation>
    </message>
</context>
<context>
    <name>TabDialog</name>
    <message>
        <source>Zelvo 3.0 build - </source>
        <translation>Zelvo 3.0 构建 - </translation>
    </message>
    <message>
        <source>GB</source>
        <translation>卡带</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>A cartridge job is running. Cancel it and quit?</source>
        <translation>卡带任务正在运行。取消并退出吗？</translation>
    </message>
</context>
<context>
    <name>TransferRate</name>
    <message>
        <source>%1 left</source>
        <translation>剩余 %1</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <source>This program cannot update the board's firmware: nothing was sent to the board.</source>
        <translation>本程序无法更新烧录器的固件：没有向烧录器发送任何内容。</translation>
    </message>
</context>
</TS>
