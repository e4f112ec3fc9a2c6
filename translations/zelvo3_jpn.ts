<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>BackupList</name>
    <message>
        <source>kept</source>
        <translation>保存済み</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>ファイルがありません</translation>
    </message>
    <message>
        <source>changed since it was kept</source>
        <translation>保存後に変更されています</translation>
    </message>
    <message>
        <source>Restore a backup</source>
        <translation>バックアップを戻す</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>日時</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>タイトル</translation>
    </message>
    <message>
        <source>Code</source>
        <translation>コード</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <source>CRC32</source>
        <translation>CRC32</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状態</translation>
    </message>
    <message>
        <source>Restore...</source>
        <translation>復元...</translation>
    </message>
</context>
<context>
    <name>CameraGallery</name>
    <message>
        <source>Pocket Camera photos</source>
        <translation>ポケットカメラの写真</translation>
    </message>
    <message>
        <source>Save as PNG...</source>
        <translation>PNG で保存...</translation>
    </message>
    <message>
        <source>Save photo</source>
        <translation>写真を保存</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG 画像 (*.png)</translation>
    </message>
    <message>
        <source>Saved %1.</source>
        <translation>%1 を保存しました。</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>%1 を書き込めませんでした。</translation>
    </message>
</context>
<context>
    <name>CameraPhotos</name>
    <message>
        <source>Deleted photo in slot %1</source>
        <translation>スロット %1 の削除された写真</translation>
    </message>
    <message>
        <source>Photo %1 (slot %2)</source>
        <translation>写真 %1（スロット %2）</translation>
    </message>
    <message>
        <source>The album's list failed its check; its copy is used.</source>
        <translation>アルバムのリストが検査に通りません。写しを使います。</translation>
    </message>
    <message>
        <source>The album's list and its copy fail their checks: the photos are in slot order, and deleted ones among them.</source>
        <translation>アルバムのリストとその写しが検査に通りません。写真はスロット順で、削除されたものも含みます。</translation>
    </message>
    <message>
        <source>The save holds no photos.</source>
        <translation>セーブに写真はありません。</translation>
    </message>
    <message>
        <source>Empty slots: %1</source>
        <translation>空きスロット：%1</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 を読み取れません：%2</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes; a Pocket Camera save holds %3.</source>
        <translation>%1 は %2 バイトです。ポケットカメラのセーブは %3 バイトです。</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>フォルダー %1 を作れません。</translation>
    </message>
    <message>
        <source>%1 is there already; no photo was written.</source>
        <translation>%1 はすでにあります。写真は書き出していません。</translation>
    </message>
    <message>
        <source>%1 could not be written.</source>
        <translation>%1 を書き込めませんでした。</translation>
    </message>
    <message>
        <source>Pictures written: %1</source>
        <translation>書き出した画像：%1</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 は通常のファイルではありません。</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>画像をエンコードできませんでした</translation>
    </message>
</context>
<context>
    <name>FamicomThread</name>
    <message>
        <source>Nintendo logo: holds.</source>
        <translation>任天堂ロゴ：一致。</translation>
    </message>
    <message>
        <source>Nintendo logo: does not hold.</source>
        <translation>任天堂ロゴ：不一致。</translation>
    </message>
    <message>
        <source>Header checksum %1: holds.</source>
        <translation>ヘッダーチェックサム %1：一致。</translation>
    </message>
    <message>
        <source>Header checksum: does not hold (the header says %1, the bytes give %2).</source>
        <translation>ヘッダーチェックサム：不一致（ヘッダーは %1、データからは %2）。</translation>
    </message>
    <message>
        <source>Global checksum %1: holds.</source>
        <translation>グローバルチェックサム %1：一致。</translation>
    </message>
    <message>
        <source>Global checksum: does not hold (the header says %1, the image gives %2).</source>
        <translation>グローバルチェックサム：不一致（ヘッダーは %1、イメージからは %2）。</translation>
    </message>
    <message>
        <source>Fixed byte %1 at 0xB2: holds.</source>
        <translation>0xB2 の固定バイト %1：一致。</translation>
    </message>
    <message>
        <source>Fixed byte at 0xB2: does not hold (%1 expected, %2 found).</source>
        <translation>0xB2 の固定バイト：不一致（期待値 %1、実際 %2）。</translation>
    </message>
    <message>
        <source>Header complement check %1: holds.</source>
        <translation>ヘッダー補数チェック %1：一致。</translation>
    </message>
    <message>
        <source>Header complement check: does not hold (the header says %1, the bytes give %2).</source>
        <translation>ヘッダー補数チェック：不一致（ヘッダーは %1、データからは %2）。</translation>
    </message>
    <message>
        <source>Clean the cartridge's contacts and dump it again.</source>
        <translation>カートリッジの端子を清掃して、もう一度吸い出してください。</translation>
    </message>
    <message>
        <source>Dump: %1 bytes, CRC32 %2, SHA-1 %3.</source>
        <translation>吸い出し：%1 バイト、CRC32 %2、SHA-1 %3。</translation>
    </message>
    <message>
        <source>Verified: the known good dump of %1 (%2, %3).</source>
        <translation>検証済み：%1 の既知の正しいダンプと一致（%2、%3）。</translation>
    </message>
    <message>
        <source>Warning: this dump differs from every known dump of the cartridge %1 (%2 in the database), so it is probably a bad read.</source>
        <translation>警告：このダンプはカートリッジ %1 の既知のダンプ（データベースに %2 件）のどれとも異なり、読み取りに失敗している可能性が高いです。</translation>
    </message>
    <message>
        <source>Not in the database of known dumps: the verdict rests on the checksums, and they hold.</source>
        <translation>既知のダンプのデータベースにありません：判定はチェックサムによるもので、チェックサムは一致しています。</translation>
    </message>
    <message>
        <source>Not in the database of known dumps, and its checksums do not hold, so it is probably a bad read.</source>
        <translation>既知のダンプのデータベースになく、チェックサムも一致しないため、読み取りに失敗している可能性が高いです。</translation>
    </message>
    <message>
        <source>Can not found device.</source>
        <translation>デバイスが見つかりません。</translation>
    </message>
    <message>
        <source>Initialize device error.</source>
        <translation>デバイスの初期化エラー。</translation>
    </message>
    <message>
        <source>The image file must hold 1 byte to %1.</source>
        <translation>イメージファイルは 1 バイトから %1 までのサイズが必要です。</translation>
    </message>
    <message>
        <source>The board's serial number could not be read; the cartridge is read back after programming to check what was written.</source>
        <translation>ボードのシリアル番号を読み取れませんでした。書き込み後にカートリッジを読み返して内容を確認します。</translation>
    </message>
    <message>
        <source>Nothing to transfer: the size is 0.</source>
        <translation>転送するものがありません：サイズが 0 です。</translation>
    </message>
    <message>
        <source>Not enough memory for %1 bytes.</source>
        <translation>%1 バイトを確保するメモリが足りません。</translation>
    </message>
    <message>
        <source>Read file :</source>
        <translation>ファイル読み込み：</translation>
    </message>
    <message>
        <source>Open File error.</source>
        <translation>ファイルを開けません。</translation>
    </message>
    <message>
        <source>Read File error.</source>
        <translation>ファイルの読み込みエラー。</translation>
    </message>
    <message>
        <source>Read </source>
        <translation>読み込み </translation>
    </message>
    <message>
        <source> Bytes</source>
        <translation> バイト</translation>
    </message>
    <message>
        <source>Transferred %1 of %2 bytes.</source>
        <translation>%2 バイト中 %1 バイトを転送しました。</translation>
    </message>
    <message>
        <source>Save file error.</source>
        <translation>ファイルの保存エラー。</translation>
    </message>
    <message>
        <source>The save carries the cartridge's clock: it is set %1.</source>
        <translation>セーブにはカートリッジの時計が含まれています：時計を%1に設定しました。</translation>
    </message>
    <message>
        <source>as saved (halted)</source>
        <translation>セーブ時の時刻（停止中）</translation>
    </message>
    <message>
        <source>the save could not be read</source>
        <translation>セーブを読み取れませんでした</translation>
    </message>
    <message>
        <source>The cartridge's save could not be backed up (%1); nothing was written.</source>
        <translation>カートリッジのセーブをバックアップできませんでした（%1）。何も書き込んでいません。</translation>
    </message>
    <message>
        <source>Backed up the cartridge's save to %1</source>
        <translation>カートリッジのセーブを %1 にバックアップしました</translation>
    </message>
    <message>
        <source>Start verify data...</source>
        <translation>データの検証を開始...</translation>
    </message>
    <message>
        <source>Verify data error: the cartridge could not be read a second time.</source>
        <translation>検証エラー：カートリッジを再度読み取れませんでした。</translation>
    </message>
    <message>
        <source>Verify data finish.</source>
        <translation>データの検証が完了しました。</translation>
    </message>
    <message>
        <source>Verify data error: the data could not be read back.</source>
        <translation>検証エラー：データを読み返せませんでした。</translation>
    </message>
    <message>
        <source>Verify data error at 0x%1: wrote 0x%2, read 0x%3.</source>
        <translation>検証エラー 0x%1：0x%2 を書き込み、0x%3 を読み出しました。</translation>
    </message>
    <message>
        <source>Canceled.</source>
        <translation>キャンセルしました。</translation>
    </message>
    <message>
        <source>%1 became shorter after it was chosen; nothing was written.</source>
        <translation>%1 は選択後に短くなりました。何も書き込んでいません。</translation>
    </message>
    <message>
        <source>%1 grew while it was read; nothing was erased or written.</source>
        <translation>%1 は読み込み中に大きくなりました。何も消去・書き込みしていません。</translation>
    </message>
    <message>
        <source>The image %1 of %2 is larger than the %3 this cartridge takes; nothing was erased or written.</source>
        <translation>イメージ %1（%2）はこのカートリッジに入る %3 より大きいです。何も消去・書き込みしていません。</translation>
    </message>
    <message>
        <source>The clock trailer of %1 cannot be used (%2); nothing was written.</source>
        <translation>%1 の時計データは使用できません（%2）。何も書き込んでいません。</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 を書き込めませんでした：%2</translation>
    </message>
    <message>
        <source>%1 appeared while the job ran and was not replaced; the new file is kept as %2.</source>
        <translation>%1 はジョブの実行中に現れたため置き換えていません。新しいファイルは %2 として保存しました。</translation>
    </message>
    <message>
        <source>The flash cartridge is now partly erased or programmed; program the image again.</source>
        <translation>フラッシュカートリッジは一部だけ消去または書き込まれた状態です。イメージをもう一度書き込んでください。</translation>
    </message>
    <message>
        <source>The cartridge's save is now partly written. Its old save is kept in %1; to restore it, write that file back with Write RAM.</source>
        <translation>カートリッジのセーブは一部だけ書き込まれた状態です。古いセーブは %1 にあります。元に戻すには「Write RAM」でそのファイルを書き戻してください。</translation>
    </message>
    <message>
        <source>The cartridge's save is now partly written, and no backup of its old save was made.</source>
        <translation>カートリッジのセーブは一部だけ書き込まれた状態です。古いセーブのバックアップはありません。</translation>
    </message>
    <message>
        <source>Verified dump</source>
        <translation>検証済みダンプ</translation>
    </message>
    <message>
        <source>Checksums hold</source>
        <translation>チェックサム正常</translation>
    </message>
    <message>
        <source>Probably a bad dump</source>
        <translation>不良ダンプの可能性</translation>
    </message>
    <message>
        <source>The %1 bytes after the save are a clock trailer of another kind of cartridge than this one, so they are not used.</source>
        <translation>セーブの後の %1 バイトは別の種類のカートリッジの時計データなので、使いません。</translation>
    </message>
    <message>
        <source>%1 carries no clock: the cartridge's clock is left as it is.</source>
        <translation>%1 には時計がありません。カートリッジの時計はそのままです。</translation>
    </message>
    <message>
        <source>The cartridge's clock reads %1; the file carries it after the save.</source>
        <translation>カートリッジの時計は %1 です。ファイルはセーブの後にそれを持ちます。</translation>
    </message>
    <message>
        <source>The clock says it lost its power since it was last set: the time it shows may be wrong.</source>
        <translation>時計は最後に設定されてから電源が切れたことを示しています。表示される時刻は正しくないかもしれません。</translation>
    </message>
    <message>
        <source>%1 holds the save's half-bytes two to a byte (%2 bytes); they are written one to a byte.</source>
        <translation>%1 はセーブの半バイトを 1 バイトに 2 つずつ持っています（%2 バイト）。1 バイトに 1 つずつ書き込みます。</translation>
    </message>
    <message>
        <source>MBC1 multicart: its four games are read in the order of its wiring.</source>
        <translation>MBC1 マルチカート：4 本のゲームを配線どおりの順に読み取ります。</translation>
    </message>
    <message>
        <source>The cartridge shows one sign of an MBC1 multicart but not the other; it is read as a plain MBC1.</source>
        <translation>カートリッジには MBC1 マルチカートの特徴が片方しかありません。通常の MBC1 として読み取ります。</translation>
    </message>
    <message>
        <source>%1 seconds on from the save, to %2</source>
        <translation>セーブから %1 秒進めて %2</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, but the cartridge's save is %3 bytes: a save file holds the save (and a clock's trailer at most); nothing was read from or written to the cartridge.</source>
        <translation>%1 は %2 バイトですが、カートリッジのセーブは %3 バイトです。セーブファイルはセーブ（と多くとも時計の末尾データ）だけを含みます。カートリッジからは何も読み書きしていません。</translation>
    </message>
    <message>
        <source>Read twice the same: the cartridge holds this data. It is not the known dump; it may be another revision or a modified cartridge.</source>
        <translation>2 回読んで同じでした。カートリッジはこのデータを持っています。既知のダンプではありません。別のリビジョンか改造されたカートリッジかもしれません。</translation>
    </message>
    <message>
        <source>The database knows %1 as %2 (%3 bytes, CRC32 %4).</source>
        <translation>データベースでは %1 は %2 です（%3 バイト、CRC32 %4）。</translation>
    </message>
    <message>
        <source>%1 is blank, and the cartridge holds a save (or it could not be read): writing the file would erase the saved game.</source>
        <translation>%1 は空のセーブですが、カートリッジにはセーブがあります（または読み取れません）。書き込むとセーブデータが消えます。</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>何も書き込んでいません。</translation>
    </message>
    <message>
        <source>The blank file is written over the cartridge's save, as asked.</source>
        <translation>指示どおり、空のファイルをカートリッジのセーブに書き込みます。</translation>
    </message>
    <message>
        <source>The dump does not look good; the cartridge is read once more to tell a flaky read from what it holds.</source>
        <translation>ダンプが良くないようです。不安定な読み取りかカートリッジの中身かを見分けるため、もう一度読み取ります。</translation>
    </message>
    <message>
        <source>Verify data error: the cartridge could not be read again.</source>
        <translation>検証エラー：カートリッジをもう一度読み取れませんでした。</translation>
    </message>
    <message>
        <source>Unstable addresses: %1</source>
        <translation>不安定なアドレス：%1</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>ほか %1 か所</translation>
    </message>
    <message>
        <source>data line D%1 read differently at %2 addresses: clean the cartridge's contacts</source>
        <translation>データ線 D%1 が %2 か所で異なって読まれました。カートリッジの端子を掃除してください</translation>
    </message>
    <message>
        <source>data line D%1 reads %2 at every address</source>
        <translation>データ線 D%1 はすべてのアドレスで %2 と読まれます</translation>
    </message>
    <message>
        <source>it is stuck (a broken contact or trace), so the dump cannot be good.</source>
        <translation>固着しています（端子か配線の断線）。ダンプは正しくなり得ません。</translation>
    </message>
    <message>
        <source>the save is blank: the cartridge holds no saved game, or its battery is dead</source>
        <translation>セーブが空です：カートリッジにセーブデータがないか、電池が切れています</translation>
    </message>
    <message>
        <source>The cartridge's save is the same as its newest backup, %1: it is not stored twice.</source>
        <translation>カートリッジのセーブは最新のバックアップ %1 と同じです。二重には保存しません。</translation>
    </message>
    <message>
        <source>The backup history could not be written: %1</source>
        <translation>バックアップ履歴を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>%1: larger than any cartridge holds</source>
        <translation>%1：どのカートリッジの容量よりも大きいです</translation>
    </message>
    <message>
        <source>%1: neither a GB/GBC nor a GBA ROM (no logo in its header)</source>
        <translation>%1：GB/GBC の ROM でも GBA の ROM でもありません（ヘッダーにロゴがありません）</translation>
    </message>
    <message>
        <source>%1 holds %2 bytes, less than the smallest %3 ROM (%4): it is not a whole dump</source>
        <translation>%1 は %2 バイトで、最小の %3 ROM（%4）より小さいため、完全なダンプではありません</translation>
    </message>
    <message>
        <source>%1: a %2 ROM</source>
        <translation>%1：%2 ROM</translation>
    </message>
    <message>
        <source>healed: %1 bytes decided by majority; no known dump confirms it</source>
        <translation>修復済み：%1 バイトを多数決で決定。既知のダンプによる確認はありません</translation>
    </message>
    <message>
        <source>the dump is %1, probing the cartridge gives %2</source>
        <translation>ダンプは %1、カートリッジの探査では %2</translation>
    </message>
    <message>
        <source>the dump is %1, the header says %2</source>
        <translation>ダンプは %1、ヘッダーでは %2</translation>
    </message>
    <message>
        <source>the panel's ROM size is smaller than the cartridge</source>
        <translation>設定パネルの ROM サイズがカートリッジより小さい</translation>
    </message>
    <message>
        <source>the panel's ROM size is larger than the cartridge</source>
        <translation>設定パネルの ROM サイズがカートリッジより大きい</translation>
    </message>
    <message>
        <source>Healed, not confirmed</source>
        <translation>修復済み、未確認</translation>
    </message>
    <message>
        <source>The cartridge read differently from read to read, so this dump cannot be trusted. Clean the cartridge's contacts and dump it again.</source>
        <translation>カートリッジの読み取り結果が毎回異なるため、このダンプは信頼できません。カートリッジの端子を清掃して、もう一度ダンプしてください。</translation>
    </message>
    <message>
        <source>The two reads differ in %1 of the %2 chunks of 4 KiB; those are read again, up to %3 times, until each byte that read differently has a value that leads every other by %4 reads.</source>
        <translation>2 回の読み取りは 4 KiB の %2 チャンクのうち %1 個で異なります。食い違ったバイトごとに、ある値が他のすべてを %4 回上回るまで、最大 %3 回再読み込みします。</translation>
    </message>
    <message>
        <source>%1 more chunks hold the same bus addresses in other banks, where a worn contact flickers as well: they are read again too.</source>
        <translation>他のバンクで同じバスアドレスを持つチャンクがさらに %1 個あり、摩耗した接点はそこでも揺らぎます：それらも再読み込みします。</translation>
    </message>
    <message>
        <source>Verify data error: %1 bytes read differently and no value leads by %2 reads after %3 more reads (%4): clean the cartridge's contacts.</source>
        <translation>ベリファイエラー：%1 バイトの読み取りが食い違い、さらに %3 回読んでも %2 回上回る値がありません（%4）：カートリッジの端子を清掃してください。</translation>
    </message>
    <message>
        <source>Healed: %1 bytes read differently, each decided by a lead of at least %2 reads (%3 more bytes read).</source>
        <translation>修復済み：%1 バイトの読み取りが食い違い、それぞれ少なくとも %2 回の差で決定しました（追加で %3 バイト読み込み）。</translation>
    </message>
    <message>
        <source>The best guess could not be written: %1</source>
        <translation>最善の推定を書き込めませんでした：%1</translation>
    </message>
    <message>
        <source>The best guess, its undecided bytes taken by their leading value, is kept as %1; it is not a good dump.</source>
        <translation>最善の推定（未決定のバイトは最多の値）を %1 として保存しました。良いダンプではありません。</translation>
    </message>
    <message>
        <source>The clock in %1 was never set by the game: the cartridge's clock is left as it is.</source>
        <translation>%1 の時計はゲームで一度も設定されていません：カートリッジの時計はそのままにします。</translation>
    </message>
    <message>
        <source>%1: not a regular file</source>
        <translation>%1：通常のファイルではありません</translation>
    </message>
    <message>
        <source>%1 holds %2, more than the %3 a GBA ROM can hold: it is not a GBA dump</source>
        <translation>%1 は %2 あり、GBA ROM の最大 %3 を超えています：GBA のダンプではありません</translation>
    </message>
    <message>
        <source>Matches %1.</source>
        <translation>%1 と一致します。</translation>
    </message>
    <message>
        <source>%1 knows %2 as '%3' (%4 bytes, CRC32 %5).</source>
        <translation>%1 では %2 は「%3」です（%4 バイト、CRC32 %5）。</translation>
    </message>
    <message>
        <source>The dump takes the name of the release it matches: %1</source>
        <translation>ダンプは一致したリリースの名前になります：%1</translation>
    </message>
    <message>
        <source>Reading the cartridge's save before writing...</source>
        <translation>書き込む前にカートリッジのセーブを読み込んでいます...</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdateTab</name>
    <message>
        <source>Update Firmware</source>
        <translation>ファームウェア更新</translation>
    </message>
    <message>
        <source>First turn off anti-virus software.</source>
        <translation>まずウイルス対策ソフトを無効にしてください。</translation>
    </message>
    <message>
        <source>Next press "Update Firmware" to update firmware.</source>
        <translation>次に「ファームウェア更新」を押して更新してください。</translation>
    </message>
    <message>
        <source><byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Starting update firmware , pelase wait...</source>
        <translation>ファームウェアの更新を開始します。お待ちください...</translation>
    </message>
    <message>
        <source>&gt;Operation failure.</source>
        <translation>&gt;操作に失敗しました。</translation>
    </message>
    <message>
        <source>&gt;Success!</source>
        <translation>&gt;成功しました！</translation>
    </message>
    <message>
        <source>This program cannot update the board's firmware: the button sends nothing to the board; the board maker's own updater does that.</source>
        <translation>このプログラムはボードのファームウェアを更新できません：ボタンはボードに何も送りません。ボードのメーカーの更新ツールを使ってください。</translation>
    </message>
</context>
<context>
    <name>MainTab</name>
    <message>
        <source>A wrong header checksum before a dump usually means dirty contacts: clean them and press Info again.</source>
        <translation>吸い出し前のヘッダーチェックサムの不一致は、たいてい端子の汚れが原因です。清掃してからもう一度「情報」を押してください。</translation>
    </message>
    <message>
        <source>Can not auto detect cartridge information.</source>
        <translation>カートリッジ情報を自動検出できません。</translation>
    </message>
    <message>
        <source>Maybe no insert cart or it's a black cart.</source>
        <translation>カートリッジが挿さっていないか、黒カートリッジの可能性があります。</translation>
    </message>
    <message>
        <source>Also try:</source>
        <translation>次もお試しください：</translation>
    </message>
    <message>
        <source> 1.Turn off anti-virus software.</source>
        <translation> 1.ウイルス対策ソフトを無効にする。</translation>
    </message>
    <message>
        <source> 2.Damaged or Dirty.</source>
        <translation> 2.カートリッジの破損や汚れを確認する。</translation>
    </message>
    <message>
        <source> 3.Switch correct volte on dump board.</source>
        <translation> 3.ダンパーの電圧を正しく切り替える。</translation>
    </message>
    <message>
        <source> 4.Try again.</source>
        <translation> 4.もう一度試す。</translation>
    </message>
    <message>
        <source>Can not found dump device.</source>
        <translation>ダンパーが見つかりません。</translation>
    </message>
    <message>
        <source>The dump device is in use by another program.</source>
        <translation>ダンパーは他のプログラムが使用中です。</translation>
    </message>
    <message>
        <source>--Device information--</source>
        <translation>--デバイス情報--</translation>
    </message>
    <message>
        <source>Driver label: </source>
        <translation>ドライバーラベル：</translation>
    </message>
    <message>
        <source>Device firmware: </source>
        <translation>デバイスファームウェア：</translation>
    </message>
    <message>
        <source><byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Initialize device error.</source>
        <translation>デバイスの初期化エラー。</translation>
    </message>
    <message>
        <source>Read ROM error.</source>
        <translation>ROM の読み取りエラー。</translation>
    </message>
    <message>
        <source>--GB/GBC Cartridge information--</source>
        <translation>--GB/GBC カートリッジ情報--</translation>
    </message>
    <message>
        <source>Title: </source>
        <translation>タイトル：</translation>
    </message>
    <message>
        <source>Cart type: </source>
        <translation>カートリッジ種別：</translation>
    </message>
    <message>
        <source>ROM Size: </source>
        <translation>ROM サイズ：</translation>
    </message>
    <message>
        <source>RAM Size: </source>
        <translation>RAM サイズ：</translation>
    </message>
    <message>
        <source>Detect GBA cartridge, but can not detect detail.</source>
        <translation>GBA カートリッジを検出しましたが、詳細を検出できません。</translation>
    </message>
    <message>
        <source>ROM size found by probing: </source>
        <translation>プローブで判明した ROM サイズ：</translation>
    </message>
    <message>
        <source>--GBA Cartridge information--</source>
        <translation>--GBA カートリッジ情報--</translation>
    </message>
    <message>
        <source>Year: </source>
        <translation>年：</translation>
    </message>
    <message>
        <source>Publisher: </source>
        <translation>発売元：</translation>
    </message>
    <message>
        <source>Read ROM to...</source>
        <translation>ROM の保存先...</translation>
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
        <translation>ROM からファイルへデータを読み込み中：</translation>
    </message>
    <message>
        <source>Get ROM File.</source>
        <translation>ROM ファイルを選択。</translation>
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
        <translation>ファイルからカートリッジへ ROM を書き込み中：</translation>
    </message>
    <message>
        <source>Read save to...</source>
        <translation>セーブの保存先...</translation>
    </message>
    <message>
        <source>GB/GBC save (*.sav)</source>
        <translation>GB/GBC セーブ (*.sav)</translation>
    </message>
    <message>
        <source>GBA save (*.sav)</source>
        <translation>GBA セーブ (*.sav)</translation>
    </message>
    <message>
        <source>Reading data from save to file:</source>
        <translation>セーブからファイルへデータを読み込み中：</translation>
    </message>
    <message>
        <source>Get Save File.</source>
        <translation>セーブファイルを選択。</translation>
    </message>
    <message>
        <source>Writing save to cartridge from file:</source>
        <translation>ファイルからカートリッジへセーブを書き込み中：</translation>
    </message>
    <message>
        <source>&gt;Success!</source>
        <translation>&gt;成功しました！</translation>
    </message>
    <message>
        <source>&gt;Operation failure.</source>
        <translation>&gt;操作に失敗しました。</translation>
    </message>
    <message>
        <source>The flash chip holds %1; the image of %2 does not fit.</source>
        <translation>フラッシュチップの容量は %1 です。%2 のイメージは入りません。</translation>
    </message>
    <message>
        <source>The GBA cartridge bus addresses at most %1 of ROM; %2 cannot be dumped.</source>
        <translation>GBA カートリッジのバスが扱える ROM は最大 %1 です。%2 は吸い出せません。</translation>
    </message>
    <message>
        <source>%1 addresses at most %2 of save memory; the %3 chosen is more than it holds.</source>
        <translation>%1 が扱えるセーブメモリは最大 %2 です。選択した %3 はそれを超えています。</translation>
    </message>
    <message>
        <source>%1 addresses at most %2 of ROM; the %3 asked for is more than it holds.</source>
        <translation>%1 が扱える ROM は最大 %2 です。指定した %3 はそれを超えています。</translation>
    </message>
    <message>
        <source>Not exists script file :</source>
        <translation>スクリプトファイルがありません：</translation>
    </message>
    <message>
        <source>The file is empty: nothing to write.</source>
        <translation>ファイルが空です：書き込むものがありません。</translation>
    </message>
    <message>
        <source>The file is larger than %1, more than any cartridge holds.</source>
        <translation>ファイルが %1 より大きく、どのカートリッジにも入りません。</translation>
    </message>
    <message>
        <source>Flash chip is 16bit width</source>
        <translation>フラッシュチップは 16 ビット幅です</translation>
    </message>
    <message>
        <source>Flash chip size is :</source>
        <translation>フラッシュチップのサイズ：</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Flash chip is 8bit width</source>
        <translation>フラッシュチップは 8 ビット幅です</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>情報</translation>
    </message>
    <message>
        <source>Dump</source>
        <translation>吸い出し</translation>
    </message>
    <message>
        <source>FLASH</source>
        <translation>書き込み</translation>
    </message>
    <message>
        <source>Read RAM</source>
        <translation>セーブ読み込み</translation>
    </message>
    <message>
        <source>Write RAM</source>
        <translation>セーブ書き込み</translation>
    </message>
    <message>
        <source>Show cartridge information!</source>
        <translation>カートリッジ情報を表示！</translation>
    </message>
    <message>
        <source>Dump ROM from cartridge!</source>
        <translation>カートリッジから ROM を吸い出す！</translation>
    </message>
    <message>
        <source>Flash ROM to a writeable cartridge!</source>
        <translation>書き込み可能なカートリッジに ROM を書き込む！</translation>
    </message>
    <message>
        <source>Read SRAM from cartridge!</source>
        <translation>カートリッジから SRAM を読み込む！</translation>
    </message>
    <message>
        <source>Write SRAM to cartridge!</source>
        <translation>カートリッジに SRAM を書き込む！</translation>
    </message>
    <message>
        <source>Oriel Driver Series for GB/GBC/GBA 3.0 started.</source>
        <translation>Oriel GB/GBC/GBA ドライバーシリーズ 3.0 を起動しました。</translation>
    </message>
    <message>
        <source>Support all functions, need &lt;span style="color: #ffcc00;"&gt;QRV_PCB02_FW303&lt;/span&gt; firmware.</source>
        <translation>すべての機能には &lt;span style="color: #ffcc00;"&gt;QRV_PCB02_FW303&lt;/span&gt; ファームウェアが必要です。</translation>
    </message>
    <message>
        <source>To dump GB/GBC cartridge,please switch power to 5V.</source>
        <translation>GB/GBC カートリッジを吸い出すには、電源を 5V に切り替えてください。</translation>
    </message>
    <message>
        <source>To dump GBA cartridge,please switch power to 3.3V.</source>
        <translation>GBA カートリッジを吸い出すには、電源を 3.3V に切り替えてください。</translation>
    </message>
    <message>
        <source>Part of homebrew GB/GBC flash cart need 3.3V power.</source>
        <translation>一部の自作 GB/GBC フラッシュカートリッジは 3.3V 電源が必要です。</translation>
    </message>
    <message>
        <source>No board named %1 was found; the boards seen: %2.</source>
        <translation>%1 という名前のボードは見つかりません。見つかったボード：%2。</translation>
    </message>
    <message>
        <source>%1 holds %2, but its identification record has no firmware label: it is not a dump board, or the board does not answer.</source>
        <translation>%1 には %2 がありますが、識別レコードにファームウェア名がありません。ダンプボードではないか、ボードが応答していません。</translation>
    </message>
    <message>
        <source>The board's volume %1 is mounted read-only, so no command can reach the board; mount it read-write.</source>
        <translation>ボードのボリューム %1 は読み取り専用でマウントされているため、コマンドがボードに届きません。読み書き可能でマウントしてください。</translation>
    </message>
    <message>
        <source>Using the board %1; another board was seen: %2.</source>
        <translation>ボード %1 を使用します。ほかにもボードがあります：%2。</translation>
    </message>
    <message>
        <source>Choose one with %1 NAME.</source>
        <translation>%1 NAME で選んでください。</translation>
    </message>
    <message>
        <source>detected</source>
        <translation>検出</translation>
    </message>
    <message>
        <source>chosen</source>
        <translation>選択</translation>
    </message>
    <message>
        <source>found in the ROM</source>
        <translation>ROM から判明</translation>
    </message>
    <message>
        <source>the panel's first choice</source>
        <translation>パネルの初期値</translation>
    </message>
    <message>
        <source>ROM %1</source>
        <translation>ROM %1</translation>
    </message>
    <message>
        <source>save %1</source>
        <translation>セーブ %1</translation>
    </message>
    <message>
        <source>save %1 %2</source>
        <translation>セーブ %1 %2</translation>
    </message>
    <message>
        <source>No cartridge was recognised; choose its system and sizes in the settings panel to go on anyway.</source>
        <translation>カートリッジを認識できませんでした。それでも続けるには設定パネルでシステムとサイズを選んでください。</translation>
    </message>
    <message>
        <source>The save type of this cartridge is not known; choose it (RAM TYPE and RAM SIZE) in the settings panel.</source>
        <translation>このカートリッジのセーブの種類が分かりません。設定パネルで選んでください（RAM 種別と RAM サイズ）。</translation>
    </message>
    <message>
        <source>The cartridge's header names no save memory; choose its size (RAM SIZE) in the settings panel to go on.</source>
        <translation>カートリッジのヘッダーにセーブメモリの記載がありません。続けるには設定パネルでサイズ（RAM サイズ）を選んでください。</translation>
    </message>
    <message>
        <source>The ROM size of this cartridge is not known; choose it (ROM SIZE) in the settings panel.</source>
        <translation>このカートリッジの ROM サイズが分かりません。設定パネルで選んでください（ROM サイズ）。</translation>
    </message>
    <message>
        <source>Cartridge: %1 (%2)</source>
        <translation>カートリッジ：%1（%2）</translation>
    </message>
    <message>
        <source>Cartridge: a GBA cartridge the database does not know (%1).</source>
        <translation>カートリッジ：データベースにない GBA カートリッジ（%1）。</translation>
    </message>
    <message>
        <source>No cartridge was recognised: its header shows neither the GB nor the GBA logo.</source>
        <translation>カートリッジを認識できませんでした。ヘッダーに GB のロゴも GBA のロゴもありません。</translation>
    </message>
    <message>
        <source>Flash chip: %1 (ID 0x%2 0x%3)</source>
        <translation>フラッシュチップ：%1（ID 0x%2 0x%3）</translation>
    </message>
    <message>
        <source>The flash chip gave no size it can have; the cartridge is read back after programming to check what was written.</source>
        <translation>フラッシュチップが有効な容量を返しませんでした。書き込み後にカートリッジを読み返して内容を確認します。</translation>
    </message>
    <message>
        <source>The flash chip's size could not be learnt (it answered with the ID 0x%1 0x%2); the cartridge is read back after programming to check what was written.</source>
        <translation>フラッシュチップの容量が分かりませんでした（ID は 0x%1 0x%2）。書き込み後にカートリッジを読み返して内容を確認します。</translation>
    </message>
    <message>
        <source>The ROM could not be read through to look for its save library.</source>
        <translation>セーブライブラリを探すために ROM を最後まで読めませんでした。</translation>
    </message>
    <message>
        <source>The ROM names no save library, so its save type is not known; %1.</source>
        <translation>ROM にセーブライブラリの名前がないため、セーブの種類が分かりません。%1。</translation>
    </message>
    <message>
        <source>The ROM names save libraries of more than one kind (%1); %2.</source>
        <translation>ROM に複数の種類のセーブライブラリがあります（%1）。%2。</translation>
    </message>
    <message>
        <source>The ROM names its save library %1: %2, whose size it does not tell.</source>
        <translation>ROM にセーブライブラリ %1 の名前があります：%2（サイズは分かりません）。</translation>
    </message>
    <message>
        <source>The ROM names its save library %1: %2 %3.</source>
        <translation>ROM にセーブライブラリ %1 の名前があります：%2 %3。</translation>
    </message>
    <message>
        <source>The cartridge's header could not be read, so the job did not start.</source>
        <translation>カートリッジのヘッダーを読めなかったため、ジョブを開始しませんでした。</translation>
    </message>
    <message>
        <source>FLASH programs rewritable GB/GBC flash cartridges; programming GBA flash cartridges is not part of this program yet.</source>
        <translation>FLASH は書き換え可能な GB/GBC フラッシュカートリッジに書き込みます。GBA フラッシュカートリッジへの書き込みにはまだ対応していません。</translation>
    </message>
    <message>
        <source>Looking for the save library in the ROM's %1...</source>
        <translation>ROM の %1 からセーブライブラリを探しています…</translation>
    </message>
    <message>
        <source>Canceled.</source>
        <translation>キャンセルしました。</translation>
    </message>
    <message>
        <source>choose its save type (RAM TYPE and RAM SIZE) in the settings panel</source>
        <translation>設定パネルでセーブの種類（RAM 種別と RAM サイズ）を選んでください</translation>
    </message>
    <message>
        <source>EEPROM size</source>
        <translation>EEPROM 容量</translation>
    </message>
    <message>
        <source>The cartridge saves to an EEPROM, whose size the ROM does not tell.
Choose it:</source>
        <translation>このカートリッジは EEPROM にセーブしますが、ROM から容量は分かりません。
選んでください：</translation>
    </message>
    <message>
        <source>Using: %1</source>
        <translation>使用する値：%1</translation>
    </message>
    <message>
        <source>Real-time clock: yes</source>
        <translation>リアルタイムクロック：あり</translation>
    </message>
    <message>
        <source>Clock: it could not be read (%1)</source>
        <translation>時計：読み取れませんでした（%1）</translation>
    </message>
    <message>
        <source>Clock: </source>
        <translation>時計：</translation>
    </message>
    <message>
        <source>The clock says it lost its power since it was last set: the time it shows may be wrong.</source>
        <translation>時計は最後に設定されてから電源が切れたことを示しています。表示される時刻は正しくないかもしれません。</translation>
    </message>
    <message>
        <source>MBC1 multicart</source>
        <translation>MBC1 マルチカート</translation>
    </message>
    <message>
        <source>Show photos</source>
        <translation>写真を表示</translation>
    </message>
    <message>
        <source>Show the photos in the Pocket Camera's save!</source>
        <translation>ポケットカメラのセーブにある写真を表示します！</translation>
    </message>
    <message>
        <source>The save holds the Pocket Camera's photos: Show photos shows them.</source>
        <translation>このセーブにはポケットカメラの写真があります。「写真を表示」で見られます。</translation>
    </message>
    <message>
        <source>Contact check: the header could not be read.</source>
        <translation>接点チェック：ヘッダーを読み取れませんでした。</translation>
    </message>
    <message>
        <source>Contact check: the header read the same %1 times: the contacts are stable.</source>
        <translation>接点チェック：ヘッダーは %1 回とも同じでした。接点は安定しています。</translation>
    </message>
    <message>
        <source>Contact check: over %1 reads the header read differently at %2 (data lines %3): clean the cartridge's contacts before a long dump.</source>
        <translation>接点チェック：%1 回の読み取りでヘッダーが %2 で異なりました（データ線 %3）。長いダンプの前にカートリッジの端子を掃除してください。</translation>
    </message>
    <message>
        <source>Blank save</source>
        <translation>空のセーブ</translation>
    </message>
    <message>
        <source>Write it anyway?</source>
        <translation>それでも書き込みますか？</translation>
    </message>
    <message>
        <source>Restore a backup...</source>
        <translation>バックアップを戻す...</translation>
    </message>
    <message>
        <source>Write back a save Write RAM kept before it overwrote one!</source>
        <translation>RAM 書き込みが上書き前に残したセーブを書き戻します！</translation>
    </message>
    <message>
        <source>Verify file...</source>
        <translation>ファイルを検証...</translation>
    </message>
    <message>
        <source>Judge a ROM file you have, as a dump is judged (no board needed). Dropping a file on the window does the same.</source>
        <translation>手元の ROM ファイルをダンプと同じように判定します（ボード不要）。ファイルをウィンドウにドロップしても同じです。</translation>
    </message>
    <message>
        <source>There are no backups yet: Write RAM keeps one in %1 before it writes.</source>
        <translation>バックアップはまだありません。RAM 書き込みの前に %1 に保存されます。</translation>
    </message>
    <message>
        <source>Restore a backup</source>
        <translation>バックアップを戻す</translation>
    </message>
    <message>
        <source>Verify a ROM file</source>
        <translation>ROM ファイルを検証</translation>
    </message>
    <message>
        <source>ROM images (*.gb *.gbc *.gba);;All files (*)</source>
        <translation>ROM イメージ (*.gb *.gbc *.gba);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>No dump board was found: there is no folder where removable volumes are mounted.</source>
        <translation>ダンプ基板が見つかりません：リムーバブルボリュームをマウントするフォルダーがありません。</translation>
    </message>
    <message>
        <source>No dump board was found in %1 (no volume there holds %2).</source>
        <translation>%1 にダンプ基板が見つかりません（%2 を持つボリュームがありません）。</translation>
    </message>
    <message>
        <source>Plug the board in and let the system mount it, or set ZELVO_VOLUMES to the folder that holds its volume.</source>
        <translation>基板を接続してシステムにマウントさせるか、ZELVO_VOLUMES にそのボリュームのあるフォルダーを設定してください。</translation>
    </message>
    <message>
        <source>%1 holds %2, but %3: it is not a dump board, and nothing was written there.</source>
        <translation>%1 には %2 がありますが、%3：ダンプ基板ではないため、何も書き込んでいません。</translation>
    </message>
    <message>
        <source>The cartridge answers neither the flash query nor the ID command: it has no flash chip (a cartridge of mask ROM), so nothing was erased or written.</source>
        <translation>カートリッジはフラッシュのクエリにも ID コマンドにも応答しません：フラッシュチップがない（マスク ROM のカートリッジ）ため、何も消去・書き込みしていません。</translation>
    </message>
    <message>
        <source>The cartridge's header names no controller this program knows; choose it (MBC TYPE) in the settings panel.</source>
        <translation>カートリッジのヘッダーが示すコントローラーをこのプログラムは知りません；設定パネルで選んでください（MBC TYPE）。</translation>
    </message>
    <message>
        <source>unknown (code 0x%1)</source>
        <translation>不明（コード 0x%1）</translation>
    </message>
    <message>
        <source>FLASH programs GB/GBC flash cartridges: the panel is set to GB/GBC.</source>
        <translation>FLASH は GB/GBC のフラッシュカートリッジに書き込みます：設定パネルを GB/GBC にしました。</translation>
    </message>
    <message>
        <source>The backup is of the cartridge %1, but the cartridge inserted is %2.</source>
        <translation>このバックアップはカートリッジ %1 のものですが、挿入されているのは %2 です。</translation>
    </message>
    <message>
        <source>Write it into this cartridge?</source>
        <translation>このカートリッジに書き込みますか？</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>何も書き込んでいません。</translation>
    </message>
    <message>
        <source>The backup file %1 is missing.</source>
        <translation>バックアップファイル %1 が見つかりません。</translation>
    </message>
    <message>
        <source>The backup file %1 was changed after it was kept: it no longer holds the save that was backed up.</source>
        <translation>バックアップファイル %1 は保存後に変更されています：バックアップしたセーブではなくなっています。</translation>
    </message>
    <message>
        <source>Not imported: %1. The database is unchanged.</source>
        <translation>インポートしませんでした：%1。データベースは変更されていません。</translation>
    </message>
    <message>
        <source>%1 was not imported: %2.</source>
        <translation>%1 はインポートされませんでした：%2。</translation>
    </message>
    <message>
        <source>Imported %1 (%2): %3 games.</source>
        <translation>%1（%2）をインポートしました：%3 タイトル。</translation>
    </message>
    <message>
        <source>It replaces version %1.</source>
        <translation>バージョン %1 を置き換えます。</translation>
    </message>
    <message>
        <source>%1  %2  %3 games  imported %4</source>
        <translation>%1  %2  %3 タイトル  インポート %4</translation>
    </message>
    <message>
        <source>Import DAT files...</source>
        <translation>DAT ファイルをインポート...</translation>
    </message>
    <message>
        <source>Add the DAT files you keep (Logiqx XML, or a .zip holding one): verdicts and file names then name the releases they list.</source>
        <translation>お持ちの DAT ファイル（Logiqx XML、または 1 つを含む .zip）を追加します：判定とファイル名にそこに載っているリリース名が使われます。</translation>
    </message>
    <message>
        <source>Import DAT files</source>
        <translation>DAT ファイルのインポート</translation>
    </message>
    <message>
        <source>DAT files (*.dat *.xml *.zip);;All files (*)</source>
        <translation>DAT ファイル (*.dat *.xml *.zip);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Game code: </source>
        <translation>ゲームコード：</translation>
    </message>
    <message>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Stop the job at its next transfer.</source>
        <translation>次の転送でジョブを停止します。</translation>
    </message>
    <message>
        <source>The backup of %1 from %2 goes into the cartridge inserted, %1.</source>
        <translation>%2 の %1 のバックアップを、挿入されているカートリッジ %1 に書き込みます。</translation>
    </message>
    <message>
        <source>The backup is of the cartridge %1 with the header checksum %2, but the cartridge inserted has %3: another revision.</source>
        <translation>このバックアップはヘッダーチェックサム %2 のカートリッジ %1 のものですが、挿入されているカートリッジは %3 です：別のリビジョンです。</translation>
    </message>
    <message>
        <source>The value named is not offered for this cartridge.</source>
        <translation>指定された値はこのカートリッジでは選べません。</translation>
    </message>
    <message>
        <source>probed on the chip</source>
        <translation>チップから判定</translation>
    </message>
    <message>
        <source>The EEPROM answers as a chip of %1.</source>
        <translation>EEPROM の応答から %1 のチップと判定しました。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The dump device stopped answering during the erase.</source>
        <translation>消去中にダンパーが応答しなくなりました。</translation>
    </message>
    <message>
        <source>The flash chip did not finish erasing in time.</source>
        <translation>フラッシュチップの消去が時間内に終わりませんでした。</translation>
    </message>
    <message>
        <source>dump core script error
</source>
        <translation>dump core スクリプトエラー
</translation>
    </message>
    <message>
        <source>The mapper script cannot read this cartridge's clock.</source>
        <translation>マッパースクリプトはこのカートリッジの時計を読み取れません。</translation>
    </message>
    <message>
        <source>The mapper script cannot set this cartridge's clock.</source>
        <translation>マッパースクリプトはこのカートリッジの時計を設定できません。</translation>
    </message>
    <message>
        <source>Start dump rom...</source>
        <translation>ROM の吸い出しを開始...</translation>
    </message>
    <message>
        <source>Dump rom finish.</source>
        <translation>ROM の吸い出しが完了しました。</translation>
    </message>
    <message>
        <source>Start erase flash chip...</source>
        <translation>フラッシュチップの消去を開始...</translation>
    </message>
    <message>
        <source>The mapper script cannot erase this cartridge.</source>
        <translation>マッパースクリプトはこのカートリッジを消去できません。</translation>
    </message>
    <message>
        <source>Erase flash chip finish.</source>
        <translation>フラッシュチップの消去が完了しました。</translation>
    </message>
    <message>
        <source>Start flash ROM...</source>
        <translation>ROM の書き込みを開始...</translation>
    </message>
    <message>
        <source>Flash ROM finish.</source>
        <translation>ROM の書き込みが完了しました。</translation>
    </message>
    <message>
        <source>Start dump save...</source>
        <translation>セーブの読み込みを開始...</translation>
    </message>
    <message>
        <source>Dump save finish.</source>
        <translation>セーブの読み込みが完了しました。</translation>
    </message>
    <message>
        <source>Start write save...</source>
        <translation>セーブの書き込みを開始...</translation>
    </message>
    <message>
        <source>Write save finish.</source>
        <translation>セーブの書き込みが完了しました。</translation>
    </message>
    <message>
        <source>Unknow operate!</source>
        <translation>不明な操作です！</translation>
    </message>
    <message>
        <source>The script interpreter could not be loaded: %1</source>
        <translation>スクリプトインタープリターを読み込めませんでした：%1</translation>
    </message>
    <message>
        <source>The mapper script did not stop by itself and was stopped: the job was canceled.</source>
        <translation>マッパースクリプトが自分で止まらなかったため停止しました：ジョブはキャンセルされました。</translation>
    </message>
    <message>
        <source>The board stopped answering (a command could not be sent to it).</source>
        <translation>ボードが応答しなくなりました（コマンドを送れませんでした）。</translation>
    </message>
    <message>
        <source>The board stopped answering (%1 of %2 bytes arrived).</source>
        <translation>ボードが応答しなくなりました（%2 バイト中 %1 バイトを受信）。</translation>
    </message>
    <message>
        <source>Erasing the flash chip; this can take up to %1 s.</source>
        <translation>フラッシュチップを消去しています。最大 %1 秒かかることがあります。</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 を読み込めません：%2</translation>
    </message>
    <message>
        <source>%1 is empty.</source>
        <translation>%1 は空です。</translation>
    </message>
    <message>
        <source>%1 is not a script's text: it holds a NUL byte or compiled code, which is not run.</source>
        <translation>%1 はスクリプトのテキストではありません：NUL バイトかコンパイル済みのコードを含むため、実行しません。</translation>
    </message>
    <message>
        <source>The board is in use by another program: it holds %1.</source>
        <translation>基板は他のプログラムが使用中です：%1 を保持しています。</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>SYS TYPE:</source>
        <translation>システム：</translation>
    </message>
    <message>
        <source>MBC TYPE:</source>
        <translation>MBC 種別：</translation>
    </message>
    <message>
        <source>ROM SIZE:</source>
        <translation>ROM サイズ：</translation>
    </message>
    <message>
        <source>RAM SIZE:</source>
        <translation>RAM サイズ：</translation>
    </message>
    <message>
        <source>Verify the data after writing</source>
        <translation>書き込み後にデータを検証する</translation>
    </message>
    <message>
        <source>RAM TYPE:</source>
        <translation>RAM 種別：</translation>
    </message>
    <message>
        <source>Keep the best guess of a dump that cannot be healed</source>
        <translation>修復できないダンプの最善の推定を保存する</translation>
    </message>
    <message>
        <source>When the reads leave bytes undecided, the dump still fails, and its best guess is kept as "NAME (unstable)" beside the file you chose.</source>
        <translation>読み取りで未決定のバイトが残った場合、ダンプは失敗のままですが、最善の推定を選んだファイルの横に「名前 (unstable)」として保存します。</translation>
    </message>
</context>
<context>
    <name>TabAbout</name>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>Oriel Cartridge Driver/Dumper</source>
        <translation>Oriel カートリッジドライバー/ダンパー</translation>
    </message>
    <message>
        <source>* Squirrel 3.1 stable scripting language
    Copyright (c) 2003-2016 Alberto Demichelis, MIT License

* Qt 5.7 application framework
    Copyright (C) The Qt Company Ltd., LGPL version 3</source>
        <translation>* Squirrel 3.1 安定版スクリプト言語
    Copyright (c) 2003-2016 Alberto Demichelis、MIT ライセンス

* Qt 5.7 アプリケーションフレームワーク
    Copyright (C) The Qt Company Ltd.、LGPL バージョン 3</translation>
    </message>
    <message>
        <source>GB/GBC/GBA Cartridge Dumper</source>
        <translation>GB/GBC/GBA カートリッジダンパー</translation>
    </message>
    <message>
        <source>Web site: </source>
        <translation>ウェブサイト：</translation>
    </message>
    <message>
        <source>Email: </source>
        <translation>メール：</translation>
    </message>
    <message>
        <source>This program and device, called set, enables to:
- make game backups from owned cartridges and play them on PC,
- transfer game saves between cartridge and PC,
- test written by yourself games directly on console 
  (rewritable cartridge required).
</source>
        <translation>このプログラムとデバイス（セット）でできること：
- 所有するカートリッジのゲームをバックアップして PC で遊ぶ、
- カートリッジと PC の間でセーブを転送する、
- 自作ゲームを実機で直接テストする
  （書き換え可能なカートリッジが必要）。
</translation>
    </message>
    <message>
        <source>running on Qt %1</source>
        <translation>Qt %1 で動作中</translation>
    </message>
</context>
<context>
    <name>TabDialog</name>
    <message>
        <source>Zelvo 3.0 build - </source>
        <translation>Zelvo 3.0 ビルド - </translation>
    </message>
    <message>
        <source>GB</source>
        <translation>カートリッジ</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>About</source>
        <translation>バージョン情報</translation>
    </message>
    <message>
        <source>A cartridge job is running. Cancel it and quit?</source>
        <translation>カートリッジのジョブが実行中です。キャンセルして終了しますか？</translation>
    </message>
</context>
<context>
    <name>TransferRate</name>
    <message>
        <source>%1 left</source>
        <translation>残り %1</translation>
    </message>
</context>
<context>
    <name>UpdateThread</name>
    <message>
        <source>This program cannot update the board's firmware: nothing was sent to the board.</source>
        <translation>このプログラムではボードのファームウェアを更新できません。ボードには何も送っていません。</translation>
    </message>
</context>
</TS>
