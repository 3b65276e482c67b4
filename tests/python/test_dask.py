"""A dozen gzipped shards of a real blastp run, read as one Dask DataFrame on a two-worker LocalCluster."""
import pandas
import pytest
from distributed import Client, LocalCluster

import norvext.dask
from norvext import search
import realruns

SHARDS = 12


@pytest.fixture(scope="module")
def shards(tmp_path_factory):
    folder = str(tmp_path_factory.mktemp("shards"))
    queries = realruns.windows()
    return [realruns.blastp(folder, f"batch{i}.tab", queries[i::SHARDS], "7 std qlen slen score", compress=True,
                             evalue=100)
            for i in range(SHARDS)]


def test_the_cluster_computes_the_frame_that_reading_one_by_one_gives(shards):
    one_by_one = pandas.concat([search.read_frame(path) for path in shards], ignore_index=True)
    assert len(one_by_one) > 100 and one_by_one.qseqid.nunique() > SHARDS
    frame = norvext.dask.read_frame(shards)
    assert frame.npartitions == SHARDS
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=False, dashboard_address=":0") as cluster, \
            Client(cluster) as client:
        computed = client.compute(frame).result()
        strong = client.compute(frame[frame.evalue < 1e-10]).result()
    pandas.testing.assert_frame_equal(computed.reset_index(drop=True), one_by_one)
    pandas.testing.assert_frame_equal(strong.reset_index(drop=True),
                                      one_by_one[one_by_one.evalue < 1e-10].reset_index(drop=True))


def test_a_bad_shard_fails_the_computation(shards, tmp_path):
    bad = tmp_path / "bad.tab"
    bad.write_bytes(b"# BLASTP 2.12.0+\nq\ts\t1\n")
    with pytest.raises(norvext.SearchError) as caught:
        norvext.dask.read_frame([shards[0], bad]).compute(scheduler="threads")
    assert caught.value.source == str(bad) and caught.value.line == 2
