#!/usr/bin/env python3
"""Cuts a failing program of the script-interface fuzzer down to the lines
that still make the game fail the same way (the sanitizer's summary line,
or the first runtime error, without addresses).

    reduce.py <game> <data folder> <transcript.lua> <reduced.lua> [jobs]

Each try replays a candidate with run.sh; chunks of statements are dropped
while the failure stays, halving the chunk size down to single lines."""
import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def signature(stderr):
    for line in stderr.splitlines():
        if line.startswith("SUMMARY: AddressSanitizer") or "runtime error:" in line:
            line = re.sub(r"0x[0-9a-f]+", "", line)
            return re.sub(r"^.*?(\S+:\d+)", r"\1", line, count=1)
    return None


def failure(game, data, lines):
    with tempfile.TemporaryDirectory() as tmp:
        program = os.path.join(tmp, "program.lua")
        with open(program, "wb") as f:
            f.write(b"".join(lines))
        keep = os.path.join(tmp, "run")
        env = dict(os.environ, SCRIPT_FUZZ_KEEP=keep)
        subprocess.run(["bash", os.path.join(HERE, "run.sh"), game, data, "replay", program],
                       env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            with open(os.path.join(keep, "stderr.txt"), errors="replace") as f:
                return signature(f.read())
        except OSError:
            return None


def main():
    game, data, source, target = sys.argv[1:5]
    jobs = int(sys.argv[5]) if len(sys.argv) > 5 else 2
    with open(source, "rb") as f:
        lines = f.readlines()
    head = [l for l in lines if not l.startswith((b"S(", b"D("))]
    body = [l for l in lines if l.startswith((b"S(", b"D("))]
    wanted = failure(game, data, head + body)
    if not wanted:
        sys.exit("the program does not fail under replay")
    print("failure:", wanted, flush=True)
    chunk = max(1, len(body) // 2)
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        while True:
            i = 0
            while i < len(body):
                # try `jobs` cuts side by side; take the first that keeps the failure
                starts = [i + k * chunk for k in range(jobs) if i + k * chunk < len(body)]
                tries = [body[:s] + body[s + chunk:] for s in starts]
                results = list(pool.map(lambda b: failure(game, data, head + b), tries))
                cut = next((k for k, r in enumerate(results) if r == wanted), None)
                if cut is None:
                    i = starts[-1] + chunk
                    continue
                body = tries[cut]
                i = starts[cut]
                print(f"{len(body)} lines left (chunk {chunk})", flush=True)
                with open(target, "wb") as f:
                    f.write(b"".join(head + body))
            if chunk == 1:
                break
            chunk = max(1, chunk // 2)
    with open(target, "wb") as f:
        f.write(b"".join(head + body))
    print(f"kept {len(body)} lines in {target}")


if __name__ == "__main__":
    main()
