"""Real blastp runs for the tests, made at test time from the example sequences of Debian's fasta3."""
import gzip
import os
import shutil
import subprocess

SEQ = "/usr/share/doc/fasta3/examples/seq"
# Proteins cut into windows make many queries; their reversed windows hit
# nothing, mostly.
PROTEINS = ("mgstm1.aa", "gstt1_drome.aa", "gtm1_human.aa", "dyr_human.aa", "mchu.aa", "lcbo.aa")
WINDOW, STEP = 80, 40


def sequences(path):
    """The (id, letters) of a FASTA file, letters without '*'."""
    entries = []
    for line in open(path, encoding="ascii"):
        if line.startswith(">"):
            entries.append([line[1:].split()[0], ""])
        elif entries:
            entries[-1][1] += "".join(line.split()).replace("*", "")
    return [tuple(entry) for entry in entries]


def windows():
    """The query windows of PROTEINS, in order, as (id, letters)."""
    queries = []
    for name in PROTEINS:
        letters = sequences(f"{SEQ}/{name}")[0][1]
        stem = name.split(".")[0]
        for start in range(0, max(1, len(letters) - WINDOW + 1), STEP):
            queries.append((f"{stem}_{start + 1}", letters[start:start + WINDOW]))
            queries.append((f"{stem}_{start + 1}_reversed", letters[start:start + WINDOW][::-1]))
    return queries


def write_fasta(path, entries):
    with open(path, "w", encoding="ascii") as out:
        out.writelines(f">{name} window of {len(letters)}\n{letters}\n" for name, letters in entries)


def run(command):
    if shutil.which(command[0]) is None:
        raise RuntimeError(f"{command[0]} not found: install Debian's ncbi-blast+")
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)


def database(folder):
    """A BLAST protein database of prot_test.lib with its ids parsed; its prefix."""
    prefix = os.path.join(folder, "prot_test")
    if not os.path.exists(prefix + ".pin"):
        run(["makeblastdb", "-in", f"{SEQ}/prot_test.lib", "-dbtype", "prot", "-parse_seqids", "-out", prefix])
    return prefix


def blastp(folder, name, queries, outfmt, compress=False, evalue=1):
    """blastp of `queries` against database(folder) in -outfmt `outfmt`; the output's path."""
    fasta = os.path.join(folder, name + ".aa")
    write_fasta(fasta, queries)
    out = os.path.join(folder, name)
    run(["blastp", "-query", fasta, "-db", database(folder), "-evalue", str(evalue), "-outfmt", outfmt, "-out", out])
    if compress:
        with open(out, "rb") as plain, gzip.open(out + ".gz", "wb") as packed:
            shutil.copyfileobj(plain, packed)
        os.remove(out)
        out += ".gz"
    return out
