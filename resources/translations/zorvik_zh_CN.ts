<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>zorvik::AppearancePopover</name>
    <message>
        <source>Appearance</source>
        <translation>外观</translation>
    </message>
    <message>
        <source>System</source>
        <translation>跟随系统</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>浅色</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>深色</translation>
    </message>
</context>
<context>
    <name>zorvik::BetButton</name>
    <message>
        <source>Bet Red</source>
        <translation>押红色</translation>
    </message>
    <message>
        <source>Bet Black</source>
        <translation>押黑色</translation>
    </message>
    <message>
        <source>Selected</source>
        <translation>已选择</translation>
    </message>
    <message>
        <source>Not selected</source>
        <translation>未选择</translation>
    </message>
</context>
<context>
    <name>zorvik::Content</name>
    <message>
        <source>Hide Zorvik</source>
        <translation>隐藏 Zorvik</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>外观</translation>
    </message>
    <message>
        <source>Keep on top</source>
        <translation>置顶</translation>
    </message>
    <message>
        <source>Disable keep on top</source>
        <translation>取消置顶</translation>
    </message>
    <message>
        <source>Wayland does not let a window keep itself on top</source>
        <translation>Wayland 不允许窗口自行置顶</translation>
    </message>
    <message>
        <source>Hide — reopen from the system tray</source>
        <translation>隐藏 — 可从系统托盘重新打开</translation>
    </message>
</context>
<context>
    <name>zorvik::HintLine</name>
    <message>
        <source>Choose a color, then flick the wheel.</source>
        <translation>选一种颜色，然后拨动轮盘。</translation>
    </message>
</context>
<context>
    <name>zorvik::MessageText</name>
    <message>
        <source>A little moment of chance.</source>
        <extracomment>The message line before the first spin.</extracomment>
        <translation>来试试手气吧。</translation>
    </message>
    <message>
        <source>Around it goes…</source>
        <extracomment>The message line while the wheel spins.</extracomment>
        <translation>转起来了…</translation>
    </message>
    <message>
        <source>%1 · Green — Not this time.</source>
        <extracomment>The result line for the zero. %1 is the number.</extracomment>
        <translation>%1 · 绿色 — 这次没中。</translation>
    </message>
    <message>
        <source>%1 · Red — You won!</source>
        <extracomment>The result line for a red number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · 红色 — 你赢了！</translation>
    </message>
    <message>
        <source>%1 · Red — Not this time.</source>
        <extracomment>The result line for a red number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · 红色 — 这次没中。</translation>
    </message>
    <message>
        <source>%1 · Black — You won!</source>
        <extracomment>The result line for a black number that won the bet. %1 is the number.</extracomment>
        <translation>%1 · 黑色 — 你赢了！</translation>
    </message>
    <message>
        <source>%1 · Black — Not this time.</source>
        <extracomment>The result line for a black number that lost the bet. %1 is the number.</extracomment>
        <translation>%1 · 黑色 — 这次没中。</translation>
    </message>
    <message>
        <source>Red</source>
        <extracomment>The name on the red bet button.</extracomment>
        <translation>红色</translation>
    </message>
    <message>
        <source>Black</source>
        <extracomment>The name on the black bet button.</extracomment>
        <translation>黑色</translation>
    </message>
</context>
<context>
    <name>zorvik::SoundControl</name>
    <message>
        <source>Click to mute or unmute. Hover to adjust volume.</source>
        <translation>点击以静音或取消静音。悬停以调节音量。</translation>
    </message>
    <message>
        <source>Unmute rolling sound</source>
        <translation>开启滚珠声</translation>
    </message>
    <message>
        <source>Mute rolling sound</source>
        <translation>关闭滚珠声</translation>
    </message>
</context>
<context>
    <name>zorvik::TrayIcon</name>
    <message>
        <source>Show Zorvik</source>
        <translation>显示 Zorvik</translation>
    </message>
    <message>
        <source>Quit Zorvik</source>
        <translation>退出 Zorvik</translation>
    </message>
</context>
<context>
    <name>zorvik::VolumeCard</name>
    <message>
        <source>Rolling sound volume</source>
        <translation>滚珠声音量</translation>
    </message>
</context>
<context>
    <name>zorvik::Wheel</name>
    <message>
        <source>Spinning</source>
        <translation>正在旋转</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelAccessible</name>
    <message>
        <source>Roulette wheel</source>
        <translation>轮盘</translation>
    </message>
    <message>
        <source>Spin</source>
        <translation>旋转</translation>
    </message>
</context>
<context>
    <name>zorvik::WheelPainter</name>
    <message>
        <source>zorvik</source>
        <translation>zorvik</translation>
    </message>
</context>
</TS>
