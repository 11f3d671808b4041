#!/usr/bin/env bash
# Writes the fictional song master lists of examples/ (CP932, CR LF).
# Every song name is made up. Re-running gives the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."

generate() { # $1: charts per song (9 guitar, 3 drum), $2: seed
    python3 - "$1" "$2" <<'PY'
import random, sys

charts, seed = int(sys.argv[1]), int(sys.argv[2])
rng = random.Random(seed)

# (name, short name, memo, bpm)
existing = [
    ("星屑トラムウェイ", "星屑トラム", "夜行路線シリーズ", "152"),
    ("Clockwork Meadow", "Clockwork", "", "138"),
    ("硝子の灯台", "硝子灯台", "", "118"),
    ("Paper Comet Parade", "PaperComet", "", "164"),
    ("ねじまき商店街", "ねじまき", "下町サウンド", "128"),
    ("Velvet Undertow", "Velvet", "", "96"),
    ("月面ピクニック", "月面", "", "140"),
    ("Rusty Satellite Blues", "RustySat", "", "102"),
    ("蒼い自転車と七月", "蒼い自転車", "", "174"),
    ("Lemonade Voltage", "Lemonade", "", "186"),
    ("風見鶏のワルツ", "風見鶏", "3拍子", "168"),
    ("Neon Kettle", "NeonKettle", "", "145"),
    ("からくり時計台", "からくり", "", "132"),
    ("Gravel Road Anthem", "Gravel", "", "120"),
    ("紙飛行機レター", "紙飛行機", "", "150"),
    ("Subway Firefly", "Firefly", "", "158"),
    ("雨上がりのメトロノーム", "メトロノーム", "", "124"),
    ("Copper Horizon", "Copper", "", "110"),
    ("ひだまりドライブ", "ひだまり", "", "136"),
    ("Static Orchard", "Orchard", "", "172"),
    ("砂時計の海", "砂時計", "", "90-180"),
    ("Magnet Heart Radio", "MagnetHeart", "", "148"),
    ("夕凪ステーション", "夕凪", "", "116"),
    ("Tin Roof Thunder", "TinRoof", "", "195"),
    ("ペンギン急行", "ペンギン", "", "160"),
    ("Marble Staircase", "Marble", "", "142"),
    ("灯籠流しのビート", "灯籠", "", "126"),
    ("Quartz Lullaby", "Quartz", "", "84"),
    ("わたあめ戦線", "わたあめ", "", "178"),
    ("Electric Origami", "Origami", "", "155"),
    ("こんぺいとう行進曲", "こんぺいとう", "", "170"),
    ("Harbor Static", "Harbor", "", "112"),
]
new = [
    ("銀河鉄橋を渡れ", "銀河鉄橋", "", "166"),
    ("Cinnamon Overdrive", "Cinnamon", "", "182"),
    ("水彩ロックンロール", "水彩", "", "144"),
    ("Hollow Lantern", "Lantern", "", "130"),
    ("真夜中の気象台", "気象台", "", "154"),
    ("Brass Tide", "BrassTide", "", "122"),
    ("ブリキの騎士団", "ブリキ", "", "176"),
    ("Polaroid Sunset", "Polaroid", "", "108"),
    ("綿雲エレベーター", "綿雲", "", "138"),
    ("Zinc Garden", "Zinc", "", "190"),
    ("海鳴りシグナル", "海鳴り", "", "162"),
    ("Violet Switchboard", "Violet", "", "146"),
    ("かざぐるまの約束", "かざぐるま", "", "134"),
    ("Cobalt Runaway", "Cobalt", "", "200"),
    ("朝焼けエンジン", "朝焼け", "", "158"),
    ("Feather Circuit", "Feather", "", "128"),
]
long_versions = [
    ("星屑トラムウェイ (Long Ver.)", "星屑トラムL", "", "152"),
    ("Clockwork Meadow -Extended-", "ClockworkL", "", "138"),
    ("ねじまき商店街 完全版", "ねじまきL", "", "128"),
    ("Lemonade Voltage (Long Mix)", "LemonadeL", "", "186"),
    ("月面ピクニック ロング", "月面L", "", "140"),
]
nonstop = [
    ("NONSTOP 夜行列車コース", "夜行列車", "4曲メドレー", "120-190"),
    ("NONSTOP Metal Works", "MetalWorks", "", "150-200"),
    ("NONSTOP 季節めぐり", "季節めぐり", "", "96-176"),
    ("NONSTOP Pop Factory", "PopFactory", "", "128-182"),
    ("NONSTOP はじめての道", "はじめて", "初心者向け", "110-150"),
]
uncategorised = [
    ("練習用メトロノーム 120", "練習120", "練習曲", "120", -1),
    ("Tutorial Groove", "Tutorial", "", "100", 4001),
    ("隠しトラック Ω", "隠しΩ", "", "222", 4500),
]

def levels():
    out = []
    for mode in range(charts // 3):
        base = rng.randint(8, 40)
        # Some songs have no OPEN PICK charts.
        missing = mode == 2 and rng.random() < 0.2
        for difficulty in range(3):
            out.append(0 if missing else min(99, base + difficulty * rng.randint(12, 24)))
    return out

def line(name, short, memo, bpm, code, flags):
    fields = [name, bpm] + [str(v) for v in levels()]
    fields += ["1" if f else "0" for f in flags] + [short, memo, str(code)]
    return "\t".join(fields)

def flags_with(*positions):
    f = [False] * 10
    for p in positions:
        f[p] = True
    return f

lines = []
for i, (n, s, m, b) in enumerate(existing):
    extra = []
    if i % 9 == 4:
        extra.append(2)   # revived
    if i % 11 == 7:
        extra.append(5)   # hidden / unlocked
    if i % 13 == 3:
        extra.append(9)   # other
    lines.append(line(n, s, m, b, 10 + i * 7, flags_with(*extra)))
for i, (n, s, m, b) in enumerate(new):
    extra = [0] + ([5] if i % 5 == 2 else [])
    lines.append(line(n, s, m, b, 1001 + i, flags_with(*extra)))
for i, (n, s, m, b) in enumerate(long_versions):
    lines.append(line(n, s, m, b, 2001 + i, flags_with(1)))
for i, (n, s, m, b) in enumerate(nonstop):
    lines.append(line(n, s, m, b, 3001 + i, flags_with(6)))
for n, s, m, b, code in uncategorised:
    lines.append(line(n, s, m, b, code, flags_with(4)))
sys.stdout.write("".join(l + "\r\n" for l in lines))
PY
}

generate 9 3 | iconv -f UTF-8 -t CP932 > examples/GuitarFreaksV3.txt
generate 3 5 | iconv -f UTF-8 -t CP932 > examples/DrumManiaV3.txt
