#include "core/program/CommandLine.h"

CommandLineRequest ReadCommandLine(const QStringList &args) {
    for (const QString &arg : args) {
        if (arg == u"--help" || arg == u"-h") return {CommandLineRequest::Kind::Help, {}};
        if (arg == u"--version" || arg == u"-v") return {CommandLineRequest::Kind::Version, {}};
    }
    if (args.isEmpty()) return {};
    const QString &first = args.first();
    return {CommandLineRequest::Kind::Error,
            (first.startsWith(u'-') ? QStringLiteral("tsukiban: 不明なオプションです: ")
                                    : QStringLiteral("tsukiban: 引数は使いません: ")) +
                first + QStringLiteral("（tsukiban --help で使い方を表示します）")};
}

QString CalendarHelpText() {
    return QStringLiteral("使い方: tsukiban [--help | --version]\n"
                          "\n"
                          "ツキバンは、デスクトップに置いておく月めくりのカレンダーです。引数なしで起動すると\n"
                          "カレンダーのウィンドウを表示します (デスクトップセッションが必要です)。\n"
                          "\n"
                          "  -h, --help     この説明を表示して終了します\n"
                          "  -v, --version  バージョンとライセンスを表示して終了します\n"
                          "\n"
                          "設定とメモは実行ファイルのフォルダーに保存します。そのフォルダーに書き込めないとき\n"
                          "(/usr にインストールしたときなど) は $XDG_DATA_HOME/tsukiban (~/.local/share/tsukiban)\n"
                          "に保存します。Qt の標準のオプション (-platform、-display など) も使えます。\n"
                          "端末のカレンダーは tsukiban-cal です。\n");
}
